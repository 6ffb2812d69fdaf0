# tv_window_segment(TARGET program NAME name [NAMESPACE ns] SOURCES window sources...)
#
# Compiles the window sources into the program's template segment and adds to the
# target the generated C++ that carries it (in ${TV_GENERATED_DIR}):
#   generated/<name>_handlers.h   declares, in namespace ns (default: name),
#       const forms::ByteSet& templateSegment();
#       const std::vector<forms::HandlerEntry>& templateHandlers();
#       constexpr std::uint32_t kTemplateHighestSerial;
#     and every handler the sources bind as forms::HandlerResult NAME(const forms::Event&),
#     so a handler that the program lacks fails to link.
#   generated/<name>_units.h   in namespace ns, every window's id as kWINDOWNAME, and per
#     window a namespace (MainWindow: main_window) with a forms::UnitRef for each unit
#     that the sources name with a `ref` line.
# ${TV_...} placeholders in the sources' texts take the values of cmake/config.cmake.
#
# tv_window_segment_bytes(OUTPUT var NAME name SOURCES ...) only produces <name>.seg and
# sets var to its path (for tests that read the bytes).

set(TV_TPLC_DIR ${CMAKE_CURRENT_LIST_DIR})

function(_tv_tplc_command out_var name ns)
  set(defs)
  get_cmake_property(vars CACHE_VARIABLES)
  foreach(v ${vars})
    if(v MATCHES "^TV_(SERVER_URL|SITE_DOMAIN|OUTSIDE_SITE_[0-9]+|DIRECTORY_DOMAIN)$")
      list(APPEND defs -D "${v}=${${v}}")
    endif()
  endforeach()
  set(${out_var} ${TV_TPLC_COMMAND} --out ${TV_GENERATED_DIR} --name ${name}
      --namespace ${ns} --depfile ${TV_GENERATED_DIR}/${name}.d ${defs} PARENT_SCOPE)
endfunction()

function(_tv_tplc_rule name ns sources)
  set(dir ${TV_GENERATED_DIR})
  set(abs)
  foreach(s ${sources})
    get_filename_component(p ${s} ABSOLUTE)
    list(APPEND abs ${p})
  endforeach()
  _tv_tplc_command(cmd ${name} ${ns})
  add_custom_command(
    OUTPUT ${dir}/${name}.seg ${dir}/${name}_segment.cpp ${dir}/${name}_handlers.h ${dir}/${name}_handlers.cpp
           ${dir}/${name}_units.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${cmd} ${abs}
    DEPENDS ${abs} ${TV_TPLC_DEPENDS}
    DEPFILE ${dir}/${name}.d
    COMMENT "Compiling the window templates of ${name}"
    VERBATIM)
endfunction()

function(tv_window_segment)
  cmake_parse_arguments(A "" "TARGET;NAME;NAMESPACE" "SOURCES" ${ARGN})
  if(NOT A_NAMESPACE)
    set(A_NAMESPACE ${A_NAME})
  endif()
  if(NOT TARGET ${A_TARGET})
    return()
  endif()
  _tv_tplc_rule(${A_NAME} ${A_NAMESPACE} "${A_SOURCES}")
  set(dir ${TV_GENERATED_DIR})
  target_sources(${A_TARGET} PRIVATE ${dir}/${A_NAME}_segment.cpp ${dir}/${A_NAME}_handlers.cpp
                                     ${dir}/${A_NAME}_handlers.h ${dir}/${A_NAME}_units.h)
endfunction()

function(tv_window_segment_bytes)
  cmake_parse_arguments(A "" "OUTPUT;NAME" "SOURCES" ${ARGN})
  _tv_tplc_rule(${A_NAME} ${A_NAME} "${A_SOURCES}")
  add_custom_target(${A_NAME}_segment DEPENDS ${TV_GENERATED_DIR}/${A_NAME}.seg)
  set(${A_OUTPUT} ${TV_GENERATED_DIR}/${A_NAME}.seg PARENT_SCOPE)
endfunction()
