# One interface target carries the flags every Vokari target is built with.
add_library(vokari_flags INTERFACE)
if(MSVC)
  # cl has its own spellings and stops at -Wextra. /utf-8: the sources, with their Chinese texts,
  # are UTF-8, which cl would otherwise read in the system's code page.
  target_compile_options(vokari_flags INTERFACE
    "$<$<COMPILE_LANGUAGE:CXX>:/W4;/utf-8;/permissive->"
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<BOOL:${VOKARI_WARNINGS_AS_ERRORS}>>:/WX>)
else()
  target_compile_options(vokari_flags INTERFACE
    -Wall -Wextra -Wpedantic
    $<$<BOOL:${VOKARI_WARNINGS_AS_ERRORS}>:-Werror>)
endif()
target_compile_definitions(vokari_flags INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS)

# Every target of ours links vokari_flags through this helper, so none can forget it.
function(vokari_target target)
  target_link_libraries(${target} PRIVATE vokari_flags)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
endfunction()
