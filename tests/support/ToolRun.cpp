#include "tests/support/ToolRun.h"

#include <cstdlib>
#include <sys/wait.h>

ToolRun runTool(const std::string& program, const TempDir& dir, const std::string& arguments,
                int fileBlocks)
{
    std::string command = program + " " + arguments;
    if (fileBlocks > 0)
        command = "sh -c 'ulimit -f " + std::to_string(fileBlocks) + " && exec " + command + "'";
    command += " >" + dir.file("stdout") + " 2>" + dir.file("stderr");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.file("stdout")),
            readFile(dir.file("stderr"))};
}
