// The few operating system services the library needs. One implementation per platform:
// platform_posix.cpp and platform_windows.cpp (Win32 calls, UTF-16 at the boundary).
// Paths are the platform's own: on POSIX systems a backslash is a character of a name, as it is
// for gnuplot there; on Windows both slashes separate folders. Paths and environment values are
// UTF-8 on every platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizari::platform {

// Whether a backslash separates folders (Windows) rather than being a character of a name.
#ifdef _WIN32
inline constexpr bool kBackslashSeparates = true;
#else
inline constexpr bool kBackslashSeparates = false;
#endif

// The temporary directory with a separator at its end: TMP, else TEMP, else (POSIX) TMPDIR, else
// the platform's writable default (/tmp; the Windows folder's Temp); none when there is no usable
// one.
std::optional<std::string> temporaryDirectory();

// Whether users other than the owner may remove or rename what others put in the folder: it is
// writable by its group or by everybody and lacks the sticky bit. gnuplot opens the library's
// files by name, so such a folder would let another user swap a command script. Always false on
// Windows, whose temporary folder belongs to its user.
bool othersMayReplaceFiles(std::string_view folder);

// A new file in the temporary directory, created atomically and exclusively (empty, readable and
// writable only by the user, so no existing file is ever reused), open for writing through the
// very descriptor that created it. On POSIX systems it lies in the process's private folder
// inside the temporary directory (mode 0700, made on demand under a fresh name and removed with
// its last file), so that no other user can put anything in its place before gnuplot opens it by
// name. It is recorded among the temporary files of the process until removeTemporaryFile removes
// it. None on failure.
struct TemporaryFile {
    std::string name;
    std::FILE* file;
};
std::optional<TemporaryFile> createTemporaryFile();

// Removes a temporary file made by createTemporaryFile and forgets it; 0 on success, -1 with
// errno set on failure. With RIZARI_KEEP=1 in the environment temporary files are kept instead.
int removeTemporaryFile(const std::string& path);
bool keepTemporaryFiles();

// Removes the file (or the empty folder) at once; safe in an asynchronous signal handler.
void unlinkNow(const char* path) noexcept;
void removeFolderNow(const char* path) noexcept;

// fopen, for a UTF-8 path.
std::FILE* openFile(std::string_view path, const char* mode);

// A regular file opened for reading, with its size when it was opened; none (errno set) when it
// cannot be opened or is no regular file (a FIFO, a device, a folder), which is refused without
// waiting for a writer or reading for ever.
struct OpenedFile {
    std::FILE* file;
    long long size;
};
std::optional<OpenedFile> openRegularFile(std::string_view path);
// Removes a file; 0 on success, -1 with errno set on failure.
int removeFile(std::string_view path);

bool isWritable(std::string_view path);  // exists and may be written

// What a path names on disk (links followed), to tell before and after a run whether it is the
// same file. None when nothing is there.
struct FileState {
    bool regular = false;  // a regular file, not a device, FIFO or folder
    bool link = false;     // the path itself is a symbolic link (or another reparse point)
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    long long size = 0;

    bool sameFile(const FileState& other) const { return device == other.device && inode == other.inode; }
};
std::optional<FileState> fileState(std::string_view path);

// Removes the file when the path itself (not through a link) still names that very regular file
// and it is still empty; true when it did.
bool removeIfStillEmpty(std::string_view path, const FileState& known);

// At most `bytes` bytes from the start (or the end) of a file; none when it cannot be read.
std::optional<std::string> fileHead(std::string_view path, std::size_t bytes);
std::optional<std::string> fileTail(std::string_view path, std::size_t bytes);

// While alive, the signals that ask a program to stop (SIGINT, SIGTERM, SIGHUP) wait for the
// calling thread instead of interrupting it, so that work which must not be cut in half can check
// for them between steps; they are delivered when it goes. Nothing on Windows.
class DeferredStopSignals {
public:
    DeferredStopSignals();
    ~DeferredStopSignals();
    DeferredStopSignals(const DeferredStopSignals&) = delete;
    DeferredStopSignals& operator=(const DeferredStopSignals&) = delete;

    // Whether a stop signal has arrived and waits.
    bool stopRequested() const;

    static constexpr std::size_t kMaskBytes = 256;

private:
    bool deferring_ = false;
    unsigned char saved_[kMaskBytes];  // the thread's signal mask before (a sigset_t)
};


// Writes "prefix: <system error text>\n" to standard error for the current errno, as perror does.
void reportError(const char* prefix);

// Writes "Error: cannot write file "NAME": <system error text>\n" for the current errno.
void reportWriteError(const std::string& name);

// A block of memory for data values, not zero-filled; null when it cannot be had. Released with
// freeBlock, which gives large blocks back to the system at once.
void* allocateBlock(std::size_t bytes) noexcept;
void freeBlock(void* block) noexcept;

// Environment.
std::optional<std::string> getEnv(const char* name);
// Puts "NAME=value" into the process environment (POSIX keeps using the storage, which therefore
// stays allocated). False when the storage cannot be had.
bool putEnv(std::string_view assignment);

// The engine program of an installation home: home/sbin/gnuplot, on Windows home\sbin\wgnuplot.exe.
// The interpreter hands its home with every "/" turned into a backslash, so on POSIX systems the
// backslashes of a home are folder separators.
std::string homeEngine(std::string_view home);

// The engine programs that can be run, best first: the installation home's own, then the first one
// on PATH (gnuplot; on Windows wgnuplot.exe, else gnuplot.exe, of the first folder that has one).
// Empty when there is none.
std::vector<std::string> engineCandidates(std::string_view home);

// The command line that hands a Windows program exactly these arguments (argv[0] included) when it
// splits the line by the rules of its C runtime (and CommandLineToArgvW).
std::string windowsCommandLine(const std::vector<std::string>& argv);

// How a run of a program ended: its exit status, the signal that ended it, the reason it did not
// start (an errno value), an interrupted wait, or a run that outlasted its limit (code: the limit
// in milliseconds; the program was ended in both cases); and what it wrote to standard error when that
// was captured.
struct RunResult {
    enum class End { Exited, Signaled, NotStarted, Interrupted, TimedOut } end;
    int code = 0;
    std::string errors;
};

struct RunOptions {
    // Standard input is a pipe held open until the program ends (a program reading its input to
    // the end then waits for it), instead of ours.
    bool holdInput = false;
    // Standard error is collected into RunResult::errors instead of shared.
    bool captureErrors = false;
};

// Starts the program with the arguments (argv[0] included) and waits until it ends. The child
// shares standard output, and standard input and error unless the options say otherwise. On POSIX
// a signal whose handler was installed without SA_RESTART interrupts the wait and ends the program.
RunResult runAndWait(const std::string& program, const std::vector<std::string>& argv, RunOptions options);

// Whether standard input is a terminal (on Windows a console; the NUL device is none).
bool inputIsTerminal();

// Whether a window can open: a display to draw on (X11 or Wayland on POSIX systems).
bool hasDisplay();

// What the program (argv[0] included) writes to standard output, at most kMaxProgramOutput bytes
// of it; none when it did not start or did not exit normally.
inline constexpr std::size_t kMaxProgramOutput = 4096;
std::optional<std::string> outputOf(const std::string& program, const std::vector<std::string>& argv);

// The major version of a gnuplot program ("gnuplot 5.4 patchlevel 4" gives 5); 0 when it does not
// say. Asked once per program and process.
int engineMajorVersion(const std::string& program);

// Switches standard output between binary (true) and text mode, where line ends become CR LF;
// nothing to do on POSIX.
bool setStdoutBinary(bool binary);

// Writes bytes to standard output unbuffered and unchanged, after flushing what stdio buffered;
// false (errno set) when any of it could not be written: a full disk, /dev/full, a reader that
// went away. A closed pipe raises no SIGPIPE in the process: it is an error like the others.
bool writeStdout(const void* data, std::size_t size);

}  // namespace rizari::platform
