#include "process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ProgramResult runProgram(const std::vector<std::string>& arguments) {
    ProgramResult result;
    int pipeEnds[2];
    if (arguments.empty() || pipe(pipeEnds) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(pipeEnds[0], buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(count));
    }
    close(pipeEnds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) == child) {
        // posix_spawnp reports a missing program through the child's exit status 127.
        result.started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return result;
}
