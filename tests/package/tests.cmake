# The Debian packages, installed and used as a new user and an operator would; make test
# builds them into WEBLARK_PACKAGES first (scripts/build-packages.sh).
find_program(DPKG_BUILDPACKAGE dpkg-buildpackage)
if(DPKG_BUILDPACKAGE)
  set(WEBLARK_PACKAGES ${CMAKE_SOURCE_DIR}/build-package CACHE PATH "Folder of the built Debian packages")
  add_test(NAME test_package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_packages.sh ${WEBLARK_PACKAGES})
  set_tests_properties(test_package PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
