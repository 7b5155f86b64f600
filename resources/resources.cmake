# Files compiled into the plug-in, as TYPE:ID:FILE; the plug-in finds them
# with platform::findResource(TYPE, ID).
set(BRENNIX_RESOURCES
  # Harmonic spectra of waveforms 16..127 (written by tools/wavegen).
  WAVES:1:${CMAKE_CURRENT_SOURCE_DIR}/resources/waves/harmonics.txt
  # The Amp Sim's five cabinet responses (written by tools/cabgen).
  CABINETS:1:${CMAKE_CURRENT_SOURCE_DIR}/resources/cabinets/cabinets.txt
  # The factory bank (built by tools/bankgen from resources/bank/factory.txt).
  BANK:10200:${BRENNIX_FACTORY_BANK}
  # The editor's images (drawn by tools/artgen, see its README): BITMAP for
  # the opaque backgrounds, PNG for images with alpha. Both are PNG files.
  BITMAP:10000:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10000-main.png
  BITMAP:10001:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10001-mod-page.png
  BITMAP:10002:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10002-arp-page.png
  BITMAP:10003:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10003-advanced-page.png
  BITMAP:10004:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10004-preset-page.png
  BITMAP:10005:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10005-about-screen.png
  BITMAP:10700:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10700-fx-0.png
  BITMAP:10701:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10701-fx-1.png
  BITMAP:10702:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10702-fx-2.png
  BITMAP:10703:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10703-fx-3.png
  BITMAP:10704:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10704-fx-4.png
  BITMAP:10705:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10705-fx-5.png
  BITMAP:10706:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10706-fx-6.png
  BITMAP:10707:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10707-fx-7.png
  BITMAP:10708:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10708-fx-8.png
  BITMAP:10709:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10709-fx-9.png
  BITMAP:10710:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10710-fx-10.png
  BITMAP:10711:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10711-fx-11.png
  BITMAP:10712:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10712-fx-12.png
  BITMAP:10713:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10713-fx-13.png
  BITMAP:10714:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10714-fx-14.png
  BITMAP:10715:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10715-fx-15.png
  BITMAP:10716:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10716-fx-16.png
  BITMAP:10717:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10717-fx-17.png
  BITMAP:10718:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10718-fx-18.png
  BITMAP:10719:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10719-fx-19.png
  BITMAP:10720:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10720-fx-20.png
  BITMAP:10721:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10721-fx-21.png
  PNG:10010:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10010-knob-strip-0.png
  PNG:10011:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10011-knob-strip-1.png
  PNG:10012:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10012-knob-strip-2.png
  PNG:10013:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10013-knob-strip-3.png
  PNG:10014:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10014-knob-strip-4.png
  PNG:10015:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10015-knob-strip-5.png
  PNG:10016:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10016-knob-strip-6.png
  PNG:10017:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10017-knob-strip-7.png
  PNG:10018:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10018-knob-strip-8.png
  PNG:10019:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10019-knob-strip-9.png
  PNG:10020:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10020-knob-strip-10.png
  PNG:10021:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10021-knob-strip-11.png
  PNG:10022:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10022-button.png
  PNG:10023:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10023-button-edited.png
  PNG:10025:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10025-readout.png
  PNG:10026:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10026-font.png
  PNG:10027:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10027-to-arp.png
  PNG:10028:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10028-to-mod.png
  PNG:10029:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10029-to-preset.png
  PNG:10030:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10030-to-advanced.png
  PNG:10039:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10039-variation-a.png
  PNG:10040:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10040-variation-b.png
  PNG:10041:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10041-variation-c.png
  PNG:10042:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10042-variation-d.png
  PNG:10043:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10043-arrow-left.png
  PNG:10044:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10044-arrow-right.png
  PNG:10046:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10046-about-button.png
  PNG:10048:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10048-menu-face.png
  PNG:10049:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10049-step-indicator.png
  PNG:10051:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10051-octave-down.png
  PNG:10052:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10052-octave-up.png
  PNG:10053:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10053-tracking.png
  PNG:10059:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10059-font-plain.png
  PNG:10060:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10060-font-normal.png
  PNG:10061:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10061-font-normal-plain.png
  PNG:10064:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10064-level.png
  # The help screen's text (23 blocks, each ended by a line "!").
  HELP:1:${CMAKE_CURRENT_SOURCE_DIR}/resources/help/help.txt
  PNG:10300:${CMAKE_CURRENT_SOURCE_DIR}/resources/images/10300-help.png
)
