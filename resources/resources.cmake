# Files compiled into the plug-in, as TYPE:ID:FILE; the plug-in finds them
# with platform::findResource(TYPE, ID).
set(BRENNIX_RESOURCES
  # Harmonic spectra of waveforms 16..127 (written by tools/wavegen).
  WAVES:1:${CMAKE_CURRENT_SOURCE_DIR}/resources/waves/harmonics.txt
  # The factory bank (built by tools/bankgen from resources/bank/factory.txt).
  BANK:10200:${BRENNIX_FACTORY_BANK}
)
