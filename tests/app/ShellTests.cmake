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
    ${CMAKE_CURRENT_LIST_DIR}/SystemVersionGatesTest.cpp
  DEPS pelora_app pelora_platform_headless)
# The checking box is the controller's one cross-thread hand-off.
pelora_test(pelora_app_shell_thread_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CheckingBoxThreadTest.cpp
  DEPS pelora_app pelora_platform_headless
  LABELS tsan)
# The controller's background work against a slow loopback download host,
# destroyed mid-run.
pelora_test(pelora_app_lifetime_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BackgroundWorkTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLifetimeTest.cpp
  DEPS pelora_app pelora_platform_headless pelora_test_support
  LABELS tsan)
# The checking box during the version check, looked at from the server's
# thread (an ordering ThreadSanitizer cannot see: not in the tsan tree).
pelora_test(pelora_app_checking_box_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CheckingBoxOnScreenTest.cpp
  DEPS pelora_app pelora_platform_headless pelora_test_support)
# The controller's tests read the bundle pictures the build draws.
foreach(t pelora_app_shell_tests pelora_app_shell_thread_tests pelora_app_lifetime_tests
          pelora_app_checking_box_tests)
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
# The program itself: a bad line stops it with its line number; a good
# scenario prints the journal.
if(PELORA_BUILD_TESTS AND NOT PELORA_TSAN AND TARGET pelora-headless)
  add_test(NAME pelora_headless_rejects_unknown_action
           COMMAND pelora-headless ${CMAKE_CURRENT_LIST_DIR}/scenarios/unknown-action.scn)
  set_tests_properties(pelora_headless_rejects_unknown_action PROPERTIES
    WILL_FAIL TRUE LABELS unit)
  add_test(NAME pelora_headless_reports_the_line
           COMMAND pelora-headless ${CMAKE_CURRENT_LIST_DIR}/scenarios/unknown-action.scn)
  set_tests_properties(pelora_headless_reports_the_line PROPERTIES
    PASS_REGULAR_EXPRESSION "error line 2: unknown action \"jump\"" LABELS unit)
  add_test(NAME pelora_headless_first_visit
           COMMAND pelora-headless --app-host=127.0.0.1:8080 ${CMAKE_CURRENT_LIST_DIR}/scenarios/first-visit.scn)
  set_tests_properties(pelora_headless_first_visit PROPERTIES
    PASS_REGULAR_EXPRESSION "script footerFunc\\(4\\);\nsetting VOICE_DL_KEY 4\n.*print VOICE_DL_KEY 4"
    LABELS unit)
endif()
