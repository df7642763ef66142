# The core library alone (the same target the program builds on) with its
# tests and the fuzz targets. Used for the sanitizer build that
# `make test` runs and for the fuzzing build of `make fuzz`; small, so both
# stay quick.

option(VELMORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VELMORA_FUZZ "Build the libFuzzer targets (clang)" OFF)

if(VELMORA_FUZZ)
  # Everything instrumented for coverage; the engine linked into the targets.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMORA_SANITIZE)
  set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZE_FLAGS})
  add_link_options(${SANITIZE_FLAGS})
endif()

add_subdirectory(src)

set(T ${CMAKE_SOURCE_DIR}/tests)
enable_testing()

if(NOT VELMORA_FUZZ)
  add_library(velmora_coresupport STATIC ${T}/support/testkit.cpp ${T}/support/testkit.h
    ${T}/support/doubles.cpp ${T}/support/doubles.h)
  target_include_directories(velmora_coresupport PUBLIC ${T}/support)
  target_link_libraries(velmora_coresupport PUBLIC velmora_core Qt6::Test)

  set(CORE_TESTS archive/tst_archive dates/tst_dates activities/tst_records activities/tst_onepass activities/tst_activitysession
    associations/tst_association_records vehicles/tst_vehicle_records
    equipment/tst_equipment_records registers/tst_holdings)
  foreach(t ${CORE_TESTS})
    get_filename_component(name ${t} NAME)
    add_executable(${name} ${T}/${t}.cpp)
    target_link_libraries(${name} PRIVATE velmora_coresupport)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  endforeach()

  # The saved fuzzing corpus, replayed through the same entry points.
  foreach(target records listlines)
    add_executable(replay_${target} ${T}/fuzz/fuzz_${target}.cpp ${T}/fuzz/replay.cpp)
    target_link_libraries(replay_${target} PRIVATE velmora_core)
    add_test(NAME replay_${target} COMMAND replay_${target} ${T}/fuzz/corpus/${target})
  endforeach()
else()
  foreach(target records listlines)
    add_executable(fuzz_${target} ${T}/fuzz/fuzz_${target}.cpp)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${target} PRIVATE velmora_core)
  endforeach()
endif()
