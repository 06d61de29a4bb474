# The app shell's tests (controller, bridge, page host, footer, headless runner).
pelora_test(pelora_app_shell_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/QueryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UrlTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BridgeTablesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLaunchTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerBridgeTest.cpp
  DEPS pelora_app pelora_platform_headless)
# The controller's tests read the bundle pictures the build draws.
if(TARGET pelora_app_shell_tests AND TARGET pelora_bundle_pictures)
  add_dependencies(pelora_app_shell_tests pelora_bundle_pictures)
endif()
