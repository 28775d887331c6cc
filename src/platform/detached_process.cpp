#include "platform/detached_process.h"

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Everything the grandchild needs, made before fork: between fork and exec only
// async-signal-safe calls may run (the client has other threads).
struct ExecPlan {
    std::vector<char*> argv;
    char** envp;
    int devNull;
    int highestFd;
    sigset_t emptyMask;
};

int HighestPossibleFd()
{
    const long openMax = sysconf(_SC_OPEN_MAX);
    // Bounded so that the fallback loop stays short even under a huge limit.
    constexpr long cap = 1L << 20;
    if (openMax <= 0 || openMax > cap) {
        return static_cast<int>(cap);
    }
    return static_cast<int>(openMax);
}

// /dev/null, close-on-exec, never on 0..2: dup2 onto itself would keep the
// close-on-exec flag and so close that stream at exec.
int OpenDevNull()
{
    int fd = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (fd >= 0 && fd <= STDERR_FILENO) {
        const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        close(fd);
        fd = moved;
    }
    return fd;
}

void CloseInheritedFds(int highestFd)
{
    if (close_range(STDERR_FILENO + 1, ~0U, 0) == 0) {
        return;
    }
    for (int fd = STDERR_FILENO + 1; fd <= highestFd; ++fd) {
        close(fd);
    }
}

[[noreturn]] void ExecInGrandchild(const ExecPlan& plan)
{
    setsid();
    dup2(plan.devNull, STDIN_FILENO);
    dup2(plan.devNull, STDOUT_FILENO);
    dup2(plan.devNull, STDERR_FILENO);
    CloseInheritedFds(plan.highestFd);
    // An ignored signal stays ignored across exec; the program gets defaults.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) {
        sigaction(sig, &byDefault, nullptr);
    }
    sigprocmask(SIG_SETMASK, &plan.emptyMask, nullptr);
    execve(plan.argv[0], plan.argv.data(), plan.envp);
    _exit(127);
}

} // namespace

void StartDetached(const std::vector<std::string>& argv)
{
    if (argv.empty()) {
        return;
    }
    ExecPlan plan{};
    plan.argv.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        plan.argv.push_back(const_cast<char*>(arg.c_str()));
    }
    plan.argv.push_back(nullptr);
    plan.envp = environ;
    plan.highestFd = HighestPossibleFd();
    sigemptyset(&plan.emptyMask);
    plan.devNull = OpenDevNull();
    if (plan.devNull < 0) {
        return;
    }

    // Double fork: the intermediate child exits at once and is reaped here, so
    // the program itself is never our child and needs no reaping.
    const pid_t intermediate = fork();
    if (intermediate == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            ExecInGrandchild(plan);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(plan.devNull);
    if (intermediate > 0) {
        while (waitpid(intermediate, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}
