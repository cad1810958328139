# Runs the build's Windows programs (tests, generators) under Wine with the
# build's own prefix and code page 932.
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in
               ${PROJECT_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
