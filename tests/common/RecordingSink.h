#pragma once

// A progress sink that remembers every call, one line per call ("bar 3/10 heading=...
// body=... failed show"), and the headings and bodies apart. Safe to call
// from several threads.

#include "core/Progress.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace dwtest {

class CRecordingSink : public CProgressSink
{
public:
    void Update(std::uint32_t position, std::uint32_t maximum, const char* title, const char* heading,
                const char* body, int succeeded, bool showNow) override
    {
        std::string line;
        if (position != kNoChange || maximum != kNoChange)
            line += "bar " + std::to_string(position) + "/" + std::to_string(maximum) + " ";
        if (title)
            line += std::string("title=") + title + " ";
        if (heading)
            line += std::string("heading=") + heading + " ";
        if (body)
            line += std::string("body=") + body + " ";
        if (succeeded != kSucceededNoChange)
            line += succeeded ? "succeeded " : "failed ";
        if (showNow)
            line += "show ";
        std::lock_guard<std::mutex> lock(m_lock);
        calls.push_back(line);
        if (heading)
            headings.push_back(heading);
        if (body)
            bodies.push_back(body);
    }

    bool SawBody(const std::string& body) const
    {
        return std::find(bodies.begin(), bodies.end(), body) != bodies.end();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        calls.clear();
        headings.clear();
        bodies.clear();
    }

    std::vector<std::string> calls;
    std::vector<std::string> headings;
    std::vector<std::string> bodies;

private:
    std::mutex m_lock;
};

} // namespace dwtest
