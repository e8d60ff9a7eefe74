#include "csf/CCFWrapper.h"

#include "core/DWConfig.h"
#include "core/InterruptCleanup.h"
#include "core/PathUtil.h"
#include "core/Registry.h"
#include "core/RegularFile.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"
#include "csf/DanglingJumps.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <random>
#include <strings.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

const char* const kCcfDllFileName = "libCCFDll.so";

namespace {

// The library reports through one callback without any context, so what that callback
// needs lives here, guarded by one lock that each run holds from start to end.
struct SCallbackState
{
    CProgressSink* progress = nullptr;
    CWarningList* log = nullptr;
    bool compiling = false;
    long long lastLine = 0;
    unsigned messages = 0; // texts of this run that were meant for the user
};

std::mutex& CallbackLock()
{
    static std::mutex lock;
    return lock;
}

SCallbackState g_callback;

bool IsTrimmedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Trim(const char* text)
{
    const char* begin = text;
    const char* end = text + std::strlen(text);
    while (begin < end && IsTrimmedSpace(*begin))
        ++begin;
    while (end > begin && IsTrimmedSpace(end[-1]))
        --end;
    return std::string(begin, end);
}

void OnDisplayString(const char* received)
{
    const char* text = received ? received : "";
    std::string trimmed = Trim(text);
    SCallbackState& state = g_callback;

    int line = 0;
    if (state.compiling && MatchCompilerLineReport(text, &line)) {
        // Reporting every line of a long file would flood the display; a step of more
        // than a thousand lines is all the eye can follow anyway.
        if (line <= state.lastLine + 1000)
            return;
        ProgressBar(state.progress, static_cast<std::uint32_t>(line), CProgressSink::kNoChange);
        ProgressHeading(state.progress, "Compiling line %d", line);
        state.lastLine = line;
        return;
    }
    if (IsCcfDllXmlProbeText(trimmed.c_str()))
        return;
    if (state.compiling) {
        ProgressHeading(state.progress, "Compiling");
        state.lastLine = 0;
    }
    ProgressBody(state.progress, "%s", text);
    if (state.log)
        state.log->push_back(trimmed);
    ++state.messages;
}

// The last-write time in nanoseconds of an open file.
bool GetLastWriteTime(int fd, std::int64_t* time)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return false;
    *time = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

// Creates a folder beside target for the library to compile into, named target with a
// random ".%08x.tmp" added, and listed for removal when the run is interrupted (the
// library's own temporary file lands in it too). *file is the file to compile into:
// the folder joined with target's own name. Created exclusively, so nothing that
// already exists is touched.
bool CreateTempBeside(const std::string& target, CTemporaryPath& folder, std::string* file)
{
    std::random_device seed;
    std::mt19937 random(seed());
    const std::string::size_type slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    bool made = folder.Create(true, [&]() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
            std::string candidate = target + suffix;
            if (::mkdir(candidate.c_str(), 0700) == 0)
                return candidate;
            if (errno != EEXIST)
                return std::string();
        }
        errno = EEXIST;
        return std::string();
    });
    if (!made)
        return false;
    *file = JoinPath(folder.GetPath(), name);
    return true;
}

// Removes the compile folder and what is left in it.
void RemoveTempFolder(CTemporaryPath& folder)
{
    int saved = errno;
    folder.Remove();
    errno = saved;
}

// Puts the finished temp file in target's place: synced first, with target's permission
// bits when it exists, renamed, and the directory synced so the rename survives a crash.
bool ReplaceWithTemp(const std::string& temp, const std::string& target)
{
    int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0)
        (void)::fchmod(fd, existing.st_mode & 07777);
    if (::fsync(fd) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return false;
    }
    ::close(fd);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return false;
    std::optional<std::string> directory = GetParentPath(target.c_str());
    std::string dirPath = directory && !directory->empty() ? *directory : std::string(".");
    int dirFd = ::open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace

bool MatchCompilerLineReport(const char* text, int* line)
{
    static const char* const kForms[] = {
        "Analyzing CCF (line %d)",   "Analyzing Entry (line %d)", "Analyzing Action (line %d)",
        "Analyzing Panel (line %d)", "Analyzing Frame (line %d)", "Analyzing Button (line %d)",
    };
    if (!text)
        return false;
    for (const char* form : kForms) {
        int number = 0;
        if (std::sscanf(text, form, &number) == 1) {
            if (line)
                *line = number;
            return true;
        }
    }
    return false;
}

bool IsCcfDllXmlProbeText(const char* trimmedText)
{
    static const char kStartTag[] = "Start tag expected, \"<\" not found";
    if (!trimmedText)
        return false;
    return strcasecmp(trimmedText, "Checking XML format") == 0 ||
           strcasecmp(trimmedText, "Cannot recognize XML format") == 0 ||
           strncasecmp(trimmedText, kStartTag, sizeof kStartTag - 1) == 0;
}

CCFWrapper::CCFWrapper(CDWConfig* config) : m_pConfig(config), m_versionText("CCFDll not initialised")
{
    std::optional<std::string> programDirectory;
    if (m_pConfig)
        programDirectory = m_pConfig->GetProgramDirectory(nullptr);
    m_dllPath = FindDllPath(programDirectory ? programDirectory->c_str() : nullptr);
}

CCFWrapper::~CCFWrapper()
{
    DeleteTrees();
    m_library.Unload();
}

bool CCFWrapper::SetDllPath(const char* path)
{
    if (m_library.IsLoaded() || !path || !*path)
        return false;
    m_dllPath = path;
    return true;
}

std::string CCFWrapper::FindDllPath(const char* programDirectory)
{
    if (programDirectory && *programDirectory) {
        std::string path = JoinPath(programDirectory, kCcfDllFileName);
        if (CheckAccess(nullptr, path.c_str(), false))
            return path;
    }
    std::string directory;
    if (ReadRegistryString(HKEY_LOCAL_MACHINE, kCcfToolsKey, "", &directory) && !directory.empty()) {
        std::string path = JoinPath(directory.c_str(), kCcfDllFileName);
        if (CheckAccess(nullptr, path.c_str(), false))
            return path;
    }
    return kCcfDllFileName;
}

std::uint32_t CCFWrapper::GetDecompilerOptions() const
{
    bool from095 = m_nVersionMajor > 0 || (m_nVersionMajor == 0 && m_nVersionMinor >= 95);
    return from095 ? 9 : 1;
}

std::uint32_t CCFWrapper::GetCompilerOptions() const
{
    return m_pConfig && m_pConfig->GetCompressImages() ? 1 : 0;
}

bool CCFWrapper::ResolveEntryPoints(const SEntryPoint* entries, CErrorRecord* errors)
{
    for (const SEntryPoint* entry = entries; entry->name; ++entry) {
        std::string loaderText;
        void* address = m_library.FindSymbol(entry->name, &loaderText);
        if (!address) {
            SetMessage(errors, "Could not find %s in %s: %s", entry->name, m_dllPath.c_str(),
                       loaderText.c_str());
            return false;
        }
        *entry->address = address;
    }
    return true;
}

bool CCFWrapper::Init(CProgressSink* progress, CErrorRecord* errors)
{
    if (m_library.IsLoaded()) {
        SetMessage(errors, "Internal error: CCFWrapper::Init called twice");
        return false;
    }
    ProgressBody(progress, "Loading %s", m_dllPath.c_str());
    std::string loaderText;
    if (!m_library.Load(m_dllPath.c_str(), &loaderText)) {
        SetMessage(errors, "Could not load %s: %s", m_dllPath.c_str(), loaderText.c_str());
        ProgressBody(progress, "%s", "");
        return false;
    }

    bool ok = false;
    void* addresses[4] = {};
    do {
        const SEntryPoint versionEntry[] = {{&addresses[0], "GetCCFVersion"}, {nullptr, nullptr}};
        if (!ResolveEntryPoints(versionEntry, errors))
            break;
        m_pGetCCFVersion = reinterpret_cast<GetCCFVersionFunction>(addresses[0]);

        // The text is the library's; copy it at once and never read beyond a sane size.
        const char* version = m_pGetCCFVersion();
        m_versionText = version ? std::string(version, strnlen(version, 1024)) : std::string();
        int major = 0;
        int minor = 0;
        if (std::sscanf(m_versionText.c_str(), "CCFDll %d.%d", &major, &minor) < 2) {
            SetMessage(errors, "Unrecognised CCFDll version string: %s", m_versionText.c_str());
            break;
        }
        m_nVersionMajor = major;
        m_nVersionMinor = minor;
        if (major < kCcfDllMinimumMajor || (major == kCcfDllMinimumMajor && minor < kCcfDllMinimumMinor)) {
            SetMessage(errors, "CCFDll %d.%d required but got CCFDll %d.%d", kCcfDllMinimumMajor,
                       kCcfDllMinimumMinor, major, minor);
            break;
        }

        const SEntryPoint runEntries[] = {{&addresses[1], "SetDisplayStringCallback"},
                                          {&addresses[2], "CCFRunDecompiler"},
                                          {&addresses[3], "CCFRunCompiler"},
                                          {nullptr, nullptr}};
        if (!ResolveEntryPoints(runEntries, errors))
            break;
        m_pSetDisplayStringCallback = reinterpret_cast<SetDisplayStringCallbackFunction>(addresses[1]);
        m_pCCFRunDecompiler = reinterpret_cast<RunFunction>(addresses[2]);
        m_pCCFRunCompiler = reinterpret_cast<RunFunction>(addresses[3]);
        m_pSetDisplayStringCallback(OnDisplayString);
        ok = true;
    } while (false);

    if (!ok) {
        m_library.Unload();
        m_pGetCCFVersion = nullptr;
        m_pSetDisplayStringCallback = nullptr;
        m_pCCFRunDecompiler = nullptr;
        m_pCCFRunCompiler = nullptr;
    }
    ProgressBody(progress, "%s", "");
    return ok;
}

bool CCFWrapper::NeedToDecompile(const char* inputCcf)
{
    m_pendingInput = inputCcf ? std::optional<std::string>(inputCcf) : std::nullopt;
    m_nPendingInputTime = 0;
    if (!inputCcf)
        return true;
    // Only looked at, never read: a FIFO must not block the open.
    int fd = ::open(inputCcf, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    bool timed = GetLastWriteTime(fd, &m_nPendingInputTime);
    ::close(fd);
    if (!timed || !m_lastInput || !m_pRootCSFSection)
        return true;
    if (*m_lastInput == *m_pendingInput && m_nLastInputTime == m_nPendingInputTime) {
        m_pendingInput.reset();
        return false;
    }
    return true;
}

void CCFWrapper::ForgetDecompilation()
{
    m_lastInput.reset();
}

void CCFWrapper::DeleteTrees()
{
    // The abstract tree points into the statement tree, so it goes first.
    delete m_pCSFAbstractTree;
    m_pCSFAbstractTree = nullptr;
    delete m_pRootCSFSection;
    m_pRootCSFSection = nullptr;
}

bool CCFWrapper::DecompileAndRead(CProgressSink* progress, CWarningList* log, CErrorRecord* errors)
{
    ProgressHeading(progress, "Preparing to decompile and read");
    ProgressBody(progress, "%s", "");
    if (log)
        log->clear();

    std::string inputCcf = m_pConfig ? m_pConfig->GetInputCcf() : std::string();
    std::string csfFile = m_pConfig ? m_pConfig->GetCsfWorkFile() : std::string();
    if (inputCcf.empty()) {
        SetMessage(errors, "Configuration returns NULL input CCF path");
        return false;
    }
    if (csfFile.empty()) {
        SetMessage(errors, "Configuration returns NULL temp CSF path");
        return false;
    }

    // Refused before the temporary area is emptied, so a wrong input costs nothing.
    // (A missing file is left to the library, whose message users know.)
    CErrorRecord refusal;
    if (!CheckRegularFile(inputCcf.c_str(), &refusal) && HasError(&refusal)) {
        SetMessage(errors, "%s", refusal.GetMessage().c_str());
        return false;
    }
    // The temporary area is emptied before decompiling; an input inside it would go too.
    const std::string tempDirectory = m_pConfig->GetTempDirectory();
    if (IsInsideDirectory(inputCcf.c_str(), tempDirectory.c_str())) {
        SetMessage(errors,
                   "Refusing to read %s: it lies inside the temporary area %s, which is emptied before "
                   "decompiling; move it elsewhere",
                   inputCcf.c_str(), tempDirectory.c_str());
        return false;
    }

    ProgressBody(progress, "Evaluating need to decompile");
    if (!NeedToDecompile(inputCcf.c_str())) {
        ProgressBody(progress, "Decompilation unnecessary");
        return true;
    }

    ProgressShowNow(progress);
    DeleteTrees();
    if (!CleanTempArea(progress, errors))
        return false;

    ProgressHeading(progress, "Decompiling");
    ProgressBody(progress, "%s", "");
    if (!RunDecompiler(inputCcf.c_str(), csfFile.c_str(), progress, log, errors))
        return false;

    // Bitmaps of generated panels are written into BMP beside the work file, whose
    // icon paths the compiler resolves; a configuration without icons may leave the
    // library no reason to create it.
    std::string bitmapDirectory = JoinPath(m_pConfig->GetTempDirectory().c_str(), "BMP");
    if (!CreateDirectoryPath(bitmapDirectory.c_str())) {
        SetSystemError(errors, "Error creating %s", bitmapDirectory.c_str());
        return false;
    }

    if (log)
        log->clear();
    ProgressHeading(progress, "Loading");
    ProgressBody(progress, "Reading decompiled file from disk...");

    FILE* file = std::fopen(csfFile.c_str(), "r");
    if (!file) {
        SetSystemError(errors, "Unable to open %s for reading.", csfFile.c_str());
        return false;
    }
    CCSFSection* root = new CCSFSection();
    CCSFAbstractTree* tree = new CCSFAbstractTree();
    CCSFLineList lines;
    bool ok = CCSFSection::ReadLines(file, lines);
    if (!ok) {
        SetSystemError(errors, "Unable to read %s", csfFile.c_str());
    } else {
        ProgressBody(progress, "Parsing...");
        const CCSFLine* cursor = lines.begin();
        ok = root->Parse(&cursor, lines.end(), errors) && tree->Build(errors, root);
    }
    std::fclose(file);
    if (!ok) {
        delete tree;
        delete root;
        return false;
    }
    m_pRootCSFSection = root;
    m_pCSFAbstractTree = tree;
    m_lastInput = std::move(m_pendingInput);
    m_pendingInput.reset();
    m_nLastInputTime = m_nPendingInputTime;
    return true;
}

bool CCFWrapper::SaveAndCompile(CProgressSink* progress, CWarningList* log, CErrorRecord* errors)
{
    ProgressHeading(progress, "Compiling");
    ProgressBody(progress, "%s", "");
    if (log)
        log->clear();
    if (!m_pRootCSFSection) {
        SetMessage(errors, "SaveAndCompile called but m_pRootCSFSection is NULL");
        return false;
    }

    std::string csfFile = m_pConfig ? m_pConfig->GetCsfWorkFile() : std::string();
    std::string outputCcf = m_pConfig ? m_pConfig->GetOutputCcf() : std::string();
    if (csfFile.empty()) {
        SetMessage(errors, "Configuration returns NULL temp CSF path");
        return false;
    }
    if (outputCcf.empty()) {
        SetMessage(errors, "Configuration returns NULL output CCF path");
        return false;
    }

    FILE* file = std::fopen(csfFile.c_str(), "w");
    if (!file) {
        SetSystemError(errors, "Unable to write %s", csfFile.c_str());
        return false;
    }
    unsigned lineCount = 0;
    bool written = m_pRootCSFSection->Write(file, &lineCount, 0);
    written = std::fclose(file) == 0 && written;
    if (!written) {
        SetSystemError(errors, "Unable to write to %s", csfFile.c_str());
        return false;
    }

    if (!CompileIntoOutput(csfFile.c_str(), outputCcf.c_str(), lineCount, progress, log, errors))
        return false;
    if (log)
        log->clear();
    return true;
}

bool CCFWrapper::CompileCsfFile(const char* csfFile, const char* outputCcf, CProgressSink* progress,
                                CWarningList* log, CErrorRecord* errors)
{
    ProgressHeading(progress, "Compiling");
    ProgressBody(progress, "%s", "");
    if (log)
        log->clear();
    if (!csfFile || !*csfFile || !outputCcf || !*outputCcf) {
        SetMessage(errors, "No CSF or output CCF path given");
        return false;
    }
    unsigned lineCount = 0;
    FILE* file = OpenRegularFileStream(csfFile, errors);
    if (!file) {
        SetSystemError(errors, "Unable to open %s for reading.", csfFile);
        return false;
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        for (std::size_t i = 0; i < got; ++i)
            lineCount += buffer[i] == '\n' ? 1 : 0;
    bool readOk = !std::ferror(file);
    std::fclose(file);
    if (!readOk) {
        SetSystemError(errors, "Unable to read %s", csfFile);
        return false;
    }
    if (!CompileIntoOutput(csfFile, outputCcf, lineCount, progress, log, errors))
        return false;
    if (log)
        log->clear();
    return true;
}

bool CCFWrapper::CompileIntoOutput(const char* csfFile, const char* outputCcf, unsigned lineCount,
                                   CProgressSink* progress, CWarningList* log, CErrorRecord* errors)
{
    // The library may leave a partial file behind when it fails; it never gets to
    // write over the user's output directly.
    std::string target = ResolveWriteTarget(outputCcf);
    if (!CheckReplaceableTarget(outputCcf, target, errors))
        return false;
    CTemporaryPath folder;
    std::string temp;
    if (!CreateTempBeside(target, folder, &temp)) {
        SetSystemError(errors, "Unable to create a temporary file beside %s", outputCcf);
        return false;
    }
    if (!RunCompiler(csfFile, temp.c_str(), lineCount, progress, log, errors)) {
        RemoveTempFolder(folder);
        return false;
    }
    if (!ReplaceWithTemp(temp, target)) {
        SetSystemError(errors, "Unable to replace %s", outputCcf);
        RemoveTempFolder(folder);
        return false;
    }
    RemoveTempFolder(folder);
    return true;
}

bool CCFWrapper::RunDecompiler(const char* inputCcf, const char* csfFile, CProgressSink* progress,
                               CWarningList* log, CErrorRecord* errors)
{
    return RunLibrary(false, inputCcf, csfFile, 0, progress, log, errors);
}

bool CCFWrapper::RunCompiler(const char* csfFile, const char* outputCcf, unsigned lineCount,
                             CProgressSink* progress, CWarningList* log, CErrorRecord* errors)
{
    return RunLibrary(true, csfFile, outputCcf, lineCount, progress, log, errors);
}

bool CCFWrapper::RunLibrary(bool compiling, const char* from, const char* to, unsigned lineCount,
                            CProgressSink* progress, CWarningList* log, CErrorRecord* errors)
{
    if (!m_library.IsLoaded() || !m_pCCFRunDecompiler || !m_pCCFRunCompiler) {
        SetMessage(errors, "CCFDll not properly initialised");
        return false;
    }
    std::lock_guard<std::mutex> lock(CallbackLock());
    g_callback.progress = progress;
    g_callback.log = log;
    g_callback.compiling = compiling;
    g_callback.lastLine = 0;
    g_callback.messages = 0;
    if (compiling)
        ProgressBar(progress, 0, lineCount);

    int options = static_cast<int>(compiling ? GetCompilerOptions() : GetDecompilerOptions());
    int result = compiling ? m_pCCFRunCompiler(from, to, options) : m_pCCFRunDecompiler(from, to, options);
    if (result == 0) {
        if (g_callback.messages == 0)
            SetMessage(errors, compiling ? "Compilation failed; No log was received"
                                         : "Decompilation failed; No log was received");
        else
            SetMessage(errors, compiling ? "COMPILATION FAILED, see log for details:"
                                         : "DECOMPILATION FAILED, see log for details:");
    }
    g_callback.progress = nullptr;
    g_callback.log = nullptr;
    return result != 0;
}

bool CCFWrapper::CleanTempArea(CProgressSink* progress, CErrorRecord* errors)
{
    ProgressHeading(progress, "Cleaning up temp directory");
    ProgressBody(progress, "%s", "");
    ForgetDecompilation();
    std::string temp = m_pConfig ? m_pConfig->GetTempDirectory() : std::string();
    if (temp.empty()) {
        SetMessage(errors, "Configuration returns NULL temp path");
        return false;
    }
    bool wasEmpty = IsEmpty(errors);
    if (!DeleteDirectoryContents(progress, temp.c_str(), errors)) {
        if (wasEmpty)
            AddContext(errors, "Failed to clean temp area");
        return false;
    }
    return true;
}

bool CCFWrapper::RemoveDanglingJumps(CErrorRecord* errors, bool rebuildAbstractTree)
{
    if (!m_pRootCSFSection) {
        SetMessage(errors, "RemoveDanglingJumps called but m_pRootCSFSection is NULL");
        return false;
    }
    if (rebuildAbstractTree) {
        delete m_pCSFAbstractTree;
        m_pCSFAbstractTree = new CCSFAbstractTree();
        if (!m_pCSFAbstractTree->Build(errors, m_pRootCSFSection))
            return false;
    }
    if (!m_pCSFAbstractTree) {
        SetMessage(errors, "RemoveDanglingJumps called but m_pCSFAbstractTree is NULL");
        return false;
    }
    RemoveDanglingJumpsFromTree(m_pRootCSFSection, *m_pCSFAbstractTree);
    return true;
}
