# quillora_add_test(NAME name SOURCES a.cpp ... LIBS lib ...)
# A Qt Test program run by CTest on the offscreen platform. QUILLORA_PROGDIR names the
# assembled program directory, which tests copy into a temporary directory of their own.
function(quillora_add_test)
    cmake_parse_arguments(T "RUN_SERIAL" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test testsupport ${T_LIBS})
    add_dependencies(${T_NAME} progdir)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLORA_PROGDIR=${QUILLORA_PROGDIR}"
        TIMEOUT 240
        FIXTURES_REQUIRED fontcache)
    if(T_RUN_SERIAL)
        set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
