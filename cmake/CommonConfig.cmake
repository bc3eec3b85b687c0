# One interface target carries the flags every Vokari target is built with.
add_library(vokari_flags INTERFACE)
target_compile_options(vokari_flags INTERFACE
  -Wall -Wextra -Wpedantic
  $<$<BOOL:${VOKARI_WARNINGS_AS_ERRORS}>:-Werror>)
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
