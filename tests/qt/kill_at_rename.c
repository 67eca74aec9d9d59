/* Preloaded into the program by kill_walk.sh: a rename onto a file named $QZ_KILL_AT_RENAME
   kills the process with SIGKILL before it is made, as a crash or a power cut would stop it. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int rename(const char* from, const char* to) {
    static int (*real)(const char*, const char*);
    const char* name = getenv("QZ_KILL_AT_RENAME");
    const char* slash = strrchr(to, '/');
    if (name && *name && strcmp(slash ? slash + 1 : to, name) == 0) kill(getpid(), SIGKILL);
    if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    return real(from, to);
}
