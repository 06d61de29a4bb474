# The app shell's tests (controller, bridge, page host, footer, headless runner).
pelora_test(pelora_app_shell_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/QueryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UrlTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BridgeTablesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AppConfigTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLaunchTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerBridgeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerPageHostTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerFooterTest.cpp
  DEPS pelora_app pelora_platform_headless)
# The checking box is the controller's one cross-thread hand-off.
pelora_test(pelora_app_shell_thread_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CheckingBoxThreadTest.cpp
  DEPS pelora_app pelora_platform_headless
  LABELS tsan)
# The controller's tests read the bundle pictures the build draws.
foreach(t pelora_app_shell_tests pelora_app_shell_thread_tests)
  if(TARGET ${t} AND TARGET pelora_bundle_pictures)
    add_dependencies(${t} pelora_bundle_pictures)
  endif()
endforeach()
pelora_test(pelora_app_headless_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScenarioTest.cpp
  DEPS pelora_app_headless)
if(TARGET pelora_app_headless_tests AND TARGET pelora_bundle_pictures)
  add_dependencies(pelora_app_headless_tests pelora_bundle_pictures)
endif()
