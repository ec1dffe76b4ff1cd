# Copies SRC to DST only when DST does not exist yet: DST holds the user's settings.
if(NOT EXISTS "${DST}")
    file(COPY_FILE "${SRC}" "${DST}")
endif()
