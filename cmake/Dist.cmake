# The program folder: everything Rookwell expects beside its executable.
# Data sets made at build time install themselves from their own modules.
install(CODE "message(STATUS \"Program folder: \${CMAKE_INSTALL_PREFIX}\")")
