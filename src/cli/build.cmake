# velmar-edid's tests run the built tool, so it must exist before they run.
# The test target is defined after this fragment is included: order them once
# the whole top-level list file has been read.
function(velmar_cli_order_tests)
  if(TARGET velmar_tests AND TARGET velmar-edid)
    add_dependencies(velmar_tests velmar-edid)
  endif()
endfunction()
cmake_language(DEFER CALL velmar_cli_order_tests)

if(TARGET velmar-edid)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/docs/velmar-edid.1 DESTINATION share/man/man1)
endif()
