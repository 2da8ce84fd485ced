# Run by CPack on the staged files before it makes the Debian package: Debian wants the manual
# page and the changelog compressed, the license as /usr/share/doc/kalvora/copyright, and the
# program stripped of the sections that only say how it was built.
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_DIRECTORY}/*/bin/kalvora")
foreach(program ${programs})
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB_RECURSE staged_docs "${CPACK_TEMPORARY_DIRECTORY}/*/share/doc/kalvora/LICENSE")
foreach(license ${staged_docs})
  get_filename_component(doc "${license}" DIRECTORY)
  file(REMOVE "${license}")
  file(COPY_FILE "${CPACK_KALVORA_DEBIAN_DIR}/copyright" "${doc}/copyright")
  file(COPY_FILE "${CPACK_KALVORA_CHANGELOG}" "${doc}/changelog")
  execute_process(COMMAND gzip -9n "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man1/kalvora.1")
foreach(page ${pages})
  execute_process(COMMAND gzip -9n "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
