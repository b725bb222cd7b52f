# Writes the first settings file of the program folder, pointing at the sample
# library, unless one is there already (a user's saved settings survive a rebuild).
set(ini "${STAGE_DIR}/LinuxVL API-RuvUduviv.ini")
if(NOT EXISTS "${ini}")
  string(ASCII 239 187 191 bom)
  file(WRITE "${ini}" "${bom}\n; Viewer\ndb-path=${LIBRARY_DIR}/VL-LinuxAPI-Toc.xml\nLib-path=${LIBRARY_DIR}/\nabout=0\nCodeMarks=2\n")
endif()
