# Read by cpack before it packs. Every time in the archive becomes
# SOURCE_DATE_EPOCH: taken from the environment when set, else the time of
# the commit built, so that two builds of one commit agree.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_commit_time "")
  find_program(_git git)
  if(_git)
    # Only a repository of these very sources: a tarball unpacked inside
    # some other repository must not take that one's date.
    execute_process(COMMAND ${_git} -C ${CPACK_LAUNCHER_SOURCE_DIR} rev-parse --show-toplevel
                    OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _failed ERROR_QUIET)
    if(NOT _failed AND _top)
      file(REAL_PATH ${_top} _top)
      file(REAL_PATH ${CPACK_LAUNCHER_SOURCE_DIR} _sources)
      if(_top STREQUAL _sources)
        execute_process(COMMAND ${_git} -C ${_top} log -1 --format=%ct
                        OUTPUT_VARIABLE _commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                        ERROR_QUIET)
      endif()
    endif()
  endif()
  if(_commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${_commit_time})
  else()
    # No commit to date it by (sources without .git): the earliest time a
    # zip can hold, 1980-01-01, which is at least the same every time.
    message(STATUS "No git commit for ${CPACK_LAUNCHER_SOURCE_DIR} and no SOURCE_DATE_EPOCH: "
                   "the archive's files are dated 1980-01-01")
    set(ENV{SOURCE_DATE_EPOCH} 315532800)
  endif()
endif()
# A zip holds local times: pin the zone, or the bytes depend on where the
# archive was made.
set(ENV{TZ} UTC0)
