# Fails when a source file includes a header of a layer above its own.
#   core (model, report, workshop operations): no Qt, no widgets, shell or workshop windows
#   widgets: no shell, no workshop windows
#   shell: no workshop windows
set(problems "")

function(check_files files forbidden_regex what)
  foreach(file ${files})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      if(line MATCHES "${forbidden_regex}")
        file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
        set(problems "${problems}\n  ${rel}: ${line} (${what})" PARENT_SCOPE)
      endif()
    endforeach()
  endforeach()
  set(problems "${problems}" PARENT_SCOPE)
endfunction()

file(GLOB core_files ${SOURCE_DIR}/model/* ${SOURCE_DIR}/report/*)
file(GLOB_RECURSE operation_files ${SOURCE_DIR}/workshops/*/*)
list(FILTER operation_files EXCLUDE REGEX "_(form|view)\\.(h|cpp)$")
check_files("${core_files};${operation_files}" "[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/|widgets/|shell/|app/)" "the core uses no Qt and no view")
file(GLOB widget_files ${SOURCE_DIR}/widgets/*)
check_files("${widget_files}" "[<\"](shell/|workshops/|app/)" "widgets sit below the shell")
file(GLOB shell_files ${SOURCE_DIR}/shell/*.h ${SOURCE_DIR}/shell/*.cpp)
check_files("${shell_files}" "[<\"](workshops/[a-z]+/|app/)" "the shell knows no workshop window")

if(problems)
  message(FATAL_ERROR "Includes against the layer order:${problems}")
endif()
