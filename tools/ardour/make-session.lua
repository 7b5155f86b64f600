-- Builds the Ardour 7 session of the render check, headless, in ardour7-lua:
--   ardour7-lua make-session.lua DIR NAME RATE TEMPO PROGRAM NOTES TAIL
-- DIR/NAME.ardour gets one MIDI track holding BrennixDemo (LXVST) on factory
-- program PROGRAM, the notes of the note list NOTES (see phrase.py) in one
-- MIDI region at the session start, the tempo TEMPO, and a range marker from
-- 0 to the last note-off plus TAIL seconds, which patch-session.py turns into
-- the session range that ardour7-export exports.
--
-- What Ardour 7.3 needs here (found by trying):
-- * The "None (Dummy)" back end is hidden in release builds; the caller's
--   config file sets hide-dummy-backend to 0, else set_backend fails.
-- * AudioEngine has set_sample_rate and set_buffer_size but no getters in Lua.
-- * Plug-ins are found only from the scanner's cache (ardour-vst-scanner -f),
--   in the folders of LXVST_PATH; new_plugin_info returns nil otherwise.
-- * VST 2 factory programs are presets with the URI "VST:<id>:<NNNN>" (the
--   decimal unique id, the program number in four digits).
-- * There is no Lua call that makes a MIDI region or imports a MIDI file.
--   Bouncing the empty track up to (not through) the instrument makes an
--   empty MIDI source and region of the bounced length, whose model takes
--   notes through a note-diff command; saving the session writes the SMF to
--   interchange/NAME/midifiles/.
-- * Adding a region to a playlist from Lua does not set the session range,
--   and Lua cannot create one (no Location constructor, no set_session_extents);
--   Locations:add_range can make an ordinary range marker.
-- * Tempo: TempoMap.fetch_writable, set_tempo at 0, TempoMap.update; Ardour
--   keeps 132 BPM as 132.00000009 (superclock rounding, a few microseconds
--   over the phrase).
-- * Any Lua error ends ardour7-lua with status 1.

local dir, name, rate, tempo, program, notes_path, tail = table.unpack(arg)
assert(tail, "usage: make-session.lua DIR NAME RATE TEMPO PROGRAM NOTES TAIL")
rate, tempo, program, tail = tonumber(rate), tonumber(tempo), tonumber(program), tonumber(tail)

-- The note list: a header "onsets N end T", then "start length key velocity".
local notes, end_ticks = {}, nil
for line in io.lines(notes_path) do
  local e = line:match("^onsets %d+ end (%d+)$")
  if e then
    end_ticks = tonumber(e)
  else
    local s, l, k, v = line:match("^(%d+) (%d+) (%d+) (%d+)$")
    assert(s, "bad note line: " .. line)
    notes[#notes + 1] = { tonumber(s), tonumber(l), tonumber(k), tonumber(v) }
  end
end
assert(end_ticks and #notes > 0, "empty note list " .. notes_path)

assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no dummy back end (hide-dummy-backend?)")
AudioEngine:set_sample_rate(rate)
AudioEngine:set_buffer_size(512)
assert(AudioEngine:start(false) == 0, "the audio engine does not start")
assert(create_session(dir, name, rate), "cannot create the session " .. dir)
assert(Session:nominal_sample_rate() == rate, "session rate " .. Session:nominal_sample_rate())

local tm = Temporal.TempoMap.fetch_writable()
tm:set_tempo(Temporal.Tempo(tempo, tempo, 4), Temporal.timepos_t(0))
Temporal.TempoMap.update(tm)
tm = nil

local info = ARDOUR.LuaAPI.new_plugin_info("BrennixDemo", ARDOUR.PluginType.LXVST)
assert(not info:isnil(), "Ardour does not know BrennixDemo (scanner cache, LXVST_PATH)")
local tracks = Session:new_midi_track(
  ARDOUR.ChanCount(ARDOUR.DataType("midi"), 1), ARDOUR.ChanCount(ARDOUR.DataType("audio"), 2),
  true, info, nil, nil, 1, "Brennix", ARDOUR.PresentationInfo.max_order,
  ARDOUR.TrackMode.Normal, true, false)
assert(tracks:size() == 1, "no MIDI track")
local track = tracks:front()
local instrument = track:nth_plugin(0)
assert(not instrument:isnil() and instrument:display_name() == "BrennixDemo", "no instrument on the track")

local plugin = instrument:to_insert():plugin(0)
local uri = string.format("VST:%s:%04d", info.unique_id, program)
local preset = plugin:preset_by_uri(uri)
assert(preset and plugin:load_preset(preset), "cannot select program " .. uri)
print(string.format("program %d: %s", program, preset.label))

-- Session length in samples: the last note-off plus the tail, as brennix-render counts it.
local frames = math.floor(end_ticks / Temporal.ticks_per_beat * 60 / tempo * rate + 0.5) + math.floor(tail * rate + 0.5)

local region = track:bounce_range(0, frames, ARDOUR.InterThreadInfo(), instrument, false, "phrase", false)
assert(not region:isnil() and region:data_type():to_string() == "midi", "the bounce made no MIDI region")
local model = region:to_midiregion():midi_source(0):model()
local diff = model:new_note_diff_command("phrase")
for _, n in ipairs(notes) do
  local start = Temporal.Beats(n[1] // Temporal.ticks_per_beat, n[1] % Temporal.ticks_per_beat)
  local length = Temporal.Beats(n[2] // Temporal.ticks_per_beat, n[2] % Temporal.ticks_per_beat)
  -- channel 0 is MIDI channel 1, as in the SMF
  diff:add(ARDOUR.LuaAPI.new_noteptr(0, start, length, n[3], n[4]))
end
model:apply_command(Session, diff)
track:playlist():add_region(region, Temporal.timepos_t(0), 1, false, 0, 0, false)

Session:locations():add_range(Temporal.timepos_t(0), Temporal.timepos_t(frames))
Session:save_state("", false, false, false, false, false)
print(string.format("session %s/%s.ardour: %d notes, %d frames at %d Hz, %g BPM", dir, name, #notes, frames, rate, tempo))
close_session()
