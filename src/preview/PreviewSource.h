#pragma once

// The configuration a preview shows, read once and kept: a .ccf decompiled through the
// codec library (loaded by CCFWrapper exactly as the program loads it) in a private
// configuration area of its own, or CSF text parsed where it stands. The private area
// keeps the preview apart from the program's own wrapper and work files, so an
// execution may replace those while a preview stays open; it is removed with the
// source.
//
// Open runs on a job's worker thread; the tree is then only read, on any one thread.

#include "core/DWConfig.h"
#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <memory>
#include <string>

class CCFWrapper;
class CCSFSection;

class CPreviewSource
{
public:
    CPreviewSource();
    CPreviewSource(const CPreviewSource&) = delete;
    CPreviewSource& operator=(const CPreviewSource&) = delete;
    ~CPreviewSource();

    // Reads `path`: decompiled when its name ends in ".ccf" (any letter case), else
    // parsed as CSF text. May be called once. On failure the reason is in errors and,
    // for the codec's runs, its messages in log (may be null); there is then no tree.
    bool Open(const std::string& path, CProgressSink* progress, CWarningList* log, CErrorRecord* errors);

    // The statement tree; null until Open succeeded.
    const CCSFSection* GetRoot() const;
    // The directory the tree's "BMP\\name.bmp" paths are relative to.
    const std::string& GetBitmapBase() const { return m_bitmapBase; }
    const std::string& GetPath() const { return m_path; }

private:
    CDWConfig m_config;
    std::unique_ptr<CCFWrapper> m_pWrapper;
    std::unique_ptr<CCSFSection> m_pParsed;
    std::string m_area; // the private temporary directory, removed at the end
    std::string m_path;
    std::string m_bitmapBase;
};

// True when the path names a CCF file by its extension (".ccf", any letter case).
bool IsCcfFileName(const std::string& path);
