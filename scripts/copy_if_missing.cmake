# Copies SRC to DST only when DST does not exist yet: DST holds the user's settings.
# Run by the build (cmake -DSRC=... -DDST=... -P) and by the install rule.
if(EXISTS "${DST}")
    message(STATUS "Kept: ${DST} (the user's settings)")
else()
    file(COPY_FILE "${SRC}" "${DST}")
endif()
