#include "generate/Bitmaps.h"

#include "core/RegularFile.h"
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "core/AtomicFile.h"
#include "core/DWConfig.h"
#include "core/ErrorRecord.h"
#include "core/PathUtil.h"

namespace {

// An override is copied whole through memory; a bitmap for the remote is a few
// kilobytes, so anything beyond this is not a picture the codec could use.
constexpr std::size_t kMaxOverrideBytes = 16u * 1024 * 1024;

std::uint32_t CodeOf(const CErrorRecord& record)
{
    const ErrorKind kind = record.GetKind();
    if ((kind == ErrorKind::SystemError || kind == ErrorKind::RuntimeError) && record.GetCode() != 0)
        return record.GetCode();
    return EIO;
}

// The user marks a file read-only to keep it; an atomic replace would not notice.
bool IsReadOnlyFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::FILE* file = OpenRegularFileStream(path.c_str(), nullptr);
    if (!file)
        return false;
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got == 0) {
            if (std::ferror(file)) {
                if (errno == 0)
                    errno = EIO;
                ok = false;
            }
            break;
        }
        if (bytes.size() + got > kMaxOverrideBytes) {
            errno = EFBIG;
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    const int saved = errno;
    std::fclose(file);
    errno = saved;
    return ok;
}

bool WriteEmbedded(CErrorRecord* errors, const SEmbeddedBitmap& entry, const std::string& target)
{
    if (IsReadOnlyFile(target)) {
        SetSystemErrorCode(errors, EACCES, "Failed to write %s", target.c_str());
        return false;
    }
    CErrorRecord detail;
    CAtomicFile file;
    if (!file.Open(target.c_str(), &detail)) {
        SetSystemErrorCode(errors, static_cast<int>(CodeOf(detail)), "Failed to write %s", target.c_str());
        return false;
    }
    if (!file.Write(entry.bytes, entry.size, &detail) || !file.Commit(&detail)) {
        SetSystemErrorCode(errors, static_cast<int>(CodeOf(detail)), "Failed to write to %s", target.c_str());
        return false;
    }
    return true;
}

bool CopyOverride(CErrorRecord* errors, const std::string& source, const std::string& target)
{
    std::vector<std::uint8_t> bytes;
    CErrorRecord detail;
    int code = 0;
    if (!ReadWholeFile(source, bytes)) {
        code = errno ? errno : EIO;
    } else if (IsReadOnlyFile(target)) {
        code = EACCES;
    } else {
        CAtomicFile file;
        if (!file.Open(target.c_str(), &detail) || !file.Write(bytes.data(), bytes.size(), &detail) ||
            !file.Commit(&detail))
            code = static_cast<int>(CodeOf(detail));
    }
    if (code != 0) {
        SetSystemErrorCode(errors, code, "Failed to copy %s to %s", source.c_str(), target.c_str());
        return false;
    }
    return true;
}

} // namespace

bool WriteBitmapsTo(CErrorRecord* errors, const char* overrideDirectory, const char* targetDirectory)
{
    // The directory beside the CSF work file usually exists; when it does not, make it,
    // and let the first file report the failure if that did not work either.
    if (targetDirectory && *targetDirectory)
        ::mkdir(targetDirectory, 0777);

    for (std::size_t i = 0; i < GetEmbeddedBitmapCount(); ++i) {
        const SEmbeddedBitmap& entry = GetEmbeddedBitmap(i);
        const std::string target = JoinPath(targetDirectory, entry.fileName);
        bool hasOverride = false;
        std::string source;
        if (overrideDirectory && *overrideDirectory) {
            source = JoinPath(overrideDirectory, entry.fileName);
            struct stat info;
            hasOverride = ::stat(source.c_str(), &info) == 0;
        }
        const bool ok =
            hasOverride ? CopyOverride(errors, source, target) : WriteEmbedded(errors, entry, target);
        if (!ok)
            return false;
    }
    return true;
}

bool WriteBitmaps(CErrorRecord* errors, CDWConfig* config)
{
    if (!config) {
        SetMessage(errors, "NULL temp path supplied by CDWConfig");
        return false;
    }
    const std::optional<std::string> programDirectory = config->GetProgramDirectory(errors);
    if (!programDirectory)
        return false;
    const std::string temp = config->GetTempDirectory();
    if (temp.empty()) {
        SetMessage(errors, "NULL temp path supplied by CDWConfig");
        return false;
    }
    const std::string overrides = JoinPath(*programDirectory, std::string("BMP_Override"));
    const std::string target = JoinPath(temp, std::string("BMP"));
    return WriteBitmapsTo(errors, overrides.c_str(), target.c_str());
}
