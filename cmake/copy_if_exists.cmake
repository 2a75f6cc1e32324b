# cmake -DSOURCE=... -DDESTINATION=... -P copy_if_exists.cmake
# Copies SOURCE to DESTINATION when SOURCE exists; says nothing otherwise.
if(EXISTS "${SOURCE}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
endif()
