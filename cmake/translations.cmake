# Translations. translations/quillmere.ts is the template: every text of the program and of the
# messages the core hands it, with no translation, written by lupdate from the sources
# (`cmake --build build --target update_translations`) and committed; a test fails when it has
# fallen behind. Each translations/quillmere_<language>.ts beside it is compiled by lrelease into
# bin/translations, where the program run from the build finds it, and installed beside the
# patterns.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(QUILLMERE_TS_TEMPLATE ${PROJECT_SOURCE_DIR}/translations/quillmere.ts)
# No source locations: the template changes when a text does, not when a line moves.
set(QUILLMERE_LUPDATE_ARGS -silent -no-obsolete -locations none -extensions cpp,h
    -I ${PROJECT_SOURCE_DIR}/src
    ${PROJECT_SOURCE_DIR}/src/app ${PROJECT_SOURCE_DIR}/src/core)
add_custom_target(update_translations
  COMMAND Qt6::lupdate ${QUILLMERE_LUPDATE_ARGS} -ts ${QUILLMERE_TS_TEMPLATE}
  COMMENT "Writing the translation template translations/quillmere.ts"
  VERBATIM)

file(GLOB QUILLMERE_TS_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/quillmere_*.ts)
set(QUILLMERE_QM_FILES)
foreach(ts ${QUILLMERE_TS_FILES})
  get_filename_component(name ${ts} NAME_WE)
  set(qm ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations/${name}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
    DEPENDS ${ts} VERBATIM)
  list(APPEND QUILLMERE_QM_FILES ${qm})
endforeach()
if(QUILLMERE_QM_FILES)
  add_custom_target(quillmere_translations ALL DEPENDS ${QUILLMERE_QM_FILES})
  install(FILES ${QUILLMERE_QM_FILES} DESTINATION ${QUILLMERE_DATA_DIR}/translations)
endif()
