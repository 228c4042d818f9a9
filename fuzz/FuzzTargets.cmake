# The fuzz targets and the libraries each one links; shared by the fuzz
# build and by the corpus replay tests.
set(ORVE_FUZZ_TARGETS
  fuzz_ini fuzz_lines fuzz_m3u fuzz_stream_playlist fuzz_icy fuzz_markup
  fuzz_colour_scheme fuzz_music_base fuzz_radio_base fuzz_audio_file)
set(ORVE_FUZZ_LIBS_fuzz_ini orve_settings)
set(ORVE_FUZZ_LIBS_fuzz_lines orve_settings)
set(ORVE_FUZZ_LIBS_fuzz_m3u orve_playlist)
set(ORVE_FUZZ_LIBS_fuzz_stream_playlist orve_audio)
set(ORVE_FUZZ_LIBS_fuzz_icy orve_engine)
set(ORVE_FUZZ_LIBS_fuzz_markup orve_playlist)
set(ORVE_FUZZ_LIBS_fuzz_colour_scheme orve_appearance)
set(ORVE_FUZZ_LIBS_fuzz_music_base orve_library)
set(ORVE_FUZZ_LIBS_fuzz_radio_base orve_library)
set(ORVE_FUZZ_LIBS_fuzz_audio_file orve_audio)
