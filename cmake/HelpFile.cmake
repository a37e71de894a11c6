# Compiles the help file "Zorvik.chm" from the help sources, so that the same
# sources give the same bytes wherever and whenever they are built:
#
#   cmake -DSOURCE=<data/help> -DWORK=<folder to compile in> -DOUTPUT=<file>
#         -DCHMCMD=<chmcmd> -DSETTLE=<zorvik_settle_helpfile> -P HelpFile.cmake
#
# chmcmd writes the folder of the project in front of every page that a
# context number names; it is handed the project as /proc/self/cwd/Zorvik.hhp,
# so that folder reads the same in every build, and zorvik_settle_helpfile
# then takes it off, with the times of compiling.
foreach(var SOURCE WORK OUTPUT CHMCMD SETTLE)
  if(NOT ${var})
    message(FATAL_ERROR "HelpFile.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SOURCE}/ DESTINATION ${WORK})
include(${CMAKE_CURRENT_LIST_DIR}/HelpPages.cmake)

execute_process(COMMAND ${CHMCMD} --no-html-scan --verbosity 0 /proc/self/cwd/Zorvik.hhp
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed OR NOT EXISTS ${WORK}/Zorvik.chm)
  message(FATAL_ERROR "chmcmd did not compile ${WORK}/Zorvik.hhp:\n${said}")
endif()
execute_process(COMMAND ${SETTLE} ${WORK}/Zorvik.chm /proc/self/cwd/ RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the help file ${WORK}/Zorvik.chm could not be settled")
endif()
file(COPY_FILE ${WORK}/Zorvik.chm ${OUTPUT})
