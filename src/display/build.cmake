# Display libraries.
#
# libtovuxy.so is our Pexa display library over the kernel's DRM subsystem. The
# programs load it at run time (never link it) by its full path: beside the
# program in the build folder, in the installation's library folder once
# installed. No program or library carries a run path, so no folder other than
# these (least of all the current one) can ever supply a library.
include(GNUInstallDirs)

# What our library and the privileged helper share: the kernel's connectors.
set(VELMAR_DRM_SOURCES ${CMAKE_CURRENT_LIST_DIR}/pexa-drm/DrmConnector.cpp ${CMAKE_SOURCE_DIR}/src/util/TrustedPath.cpp)
# What the helper shares with the programs: the boot-time override's plan.
set(VELMAR_BOOT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/BootOverride.cpp)

add_library(tovuxy SHARED ${CMAKE_CURRENT_LIST_DIR}/pexa-drm/PexaDrm.cpp ${VELMAR_DRM_SOURCES})
target_include_directories(tovuxy PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(tovuxy PRIVATE ${VELMAR_WARNINGS})
set_target_properties(tovuxy PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
install(TARGETS tovuxy LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Where the installed library lies seen from the installed programs.
file(RELATIVE_PATH VELMAR_LIBRARY_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/display/PexaLibrary.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS VELMAR_LIBRARY_FROM_PROGRAM="${VELMAR_LIBRARY_FROM_PROGRAM}")

# The privileged helper that writes a display's override for a user who is not
# root, started through polkit (pkexec); it links nothing but what it needs.
add_executable(velmar-edid-helper ${CMAKE_CURRENT_LIST_DIR}/helper/EdidHelper.cpp ${VELMAR_DRM_SOURCES}
               ${VELMAR_BOOT_SOURCES})
target_include_directories(velmar-edid-helper PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(velmar-edid-helper PRIVATE ${VELMAR_WARNINGS})
set_target_properties(velmar-edid-helper PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set(VELMAR_HELPER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/velmar-edid-utility)
install(TARGETS velmar-edid-helper RUNTIME DESTINATION ${VELMAR_HELPER_DIR})
set(VELMAR_HELPER_PATH ${CMAKE_INSTALL_FULL_LIBEXECDIR}/velmar-edid-utility/velmar-edid-helper)
file(RELATIVE_PATH VELMAR_HELPER_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/velmar-edid-utility)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/display/PrivilegedHelper.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS VELMAR_HELPER_FROM_PROGRAM="${VELMAR_HELPER_FROM_PROGRAM}")

function(velmar_find_display_library target)
  if(TARGET ${target})
    add_dependencies(${target} tovuxy velmar-edid-helper)
  endif()
endfunction()

# The simulated library of the tests: adapters, displays and failures from a
# text file (see its source). Built with the tests, never installed.
function(velmar_display_tests)
  if(TARGET velmar_tests)
    add_dependencies(velmar_tests velmar_pexa_sim tovuxy velmar-edid-helper)
    target_compile_definitions(velmar_tests PRIVATE
      VELMAR_PEXA_SIM_LIBRARY="$<TARGET_FILE:velmar_pexa_sim>"
      VELMAR_PEXA_DRM_LIBRARY="$<TARGET_FILE:tovuxy>")
  endif()
endfunction()

if(VELMAR_TESTS)
  add_library(velmar_pexa_sim MODULE ${CMAKE_SOURCE_DIR}/tests/display/pexa-sim/PexaSim.cpp)
  target_include_directories(velmar_pexa_sim PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(velmar_pexa_sim PRIVATE ${VELMAR_WARNINGS})
  set_target_properties(velmar_pexa_sim PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/pexa-sim)
endif()

# The programs and the tests are defined after this fragment is read.
cmake_language(DEFER CALL velmar_find_display_library velmar-edid)
cmake_language(DEFER CALL velmar_find_display_library velmar-edid-utility)
cmake_language(DEFER CALL velmar_display_tests)
