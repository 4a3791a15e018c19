# cmake -DSOURCE=<file> -DTARGET=<file> -P CopyIfMissing.cmake
if(NOT EXISTS "${TARGET}" AND EXISTS "${SOURCE}")
    get_filename_component(folder "${TARGET}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
