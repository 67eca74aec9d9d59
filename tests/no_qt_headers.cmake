# Fails when a folder that must stay toolkit-free includes a Qt header.
file(GLOB_RECURSE files ${SRC}/forms/* ${SRC}/platform/* ${SRC}/app/* ${SRC}/net/* ${SRC}/ui/*
     ${SRC}/simwindow/* ${SRC}/session/* ${SRC}/home/* ${SRC}/demo/* ${SRC}/host/headless/*
     ${SRC}/fuzz/*.h ${SRC}/fuzz/*.cpp)
set(bad "")
foreach(f ${files})
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)")
  if(hits)
    list(APPEND bad "${f}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Qt headers included in toolkit-free code:\n${bad}")
endif()
