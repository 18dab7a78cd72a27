// A sample handset's capabilities as the device engine holds them: a raw record whose
// pointers lead into lists owned by this object.
#pragma once
#include <string>
#include <vector>
#include <Capability.h>

struct SampleHandset {
    RAW_ME_CAPABILITY raw{};
    std::vector<IMG_CAP_INFO> images;
    std::vector<xMDY_CAP_INFO> melodies;
    std::vector<std::vector<MDY_FORMAT_CAP>> formats;        // per melody
    std::vector<std::vector<MDY_FORMAT_INFO>> formatInfos;   // per melody, per format
    std::vector<CAL_CAP_INFO> calendars;
    std::vector<VIDEO_CAP_INFO> videos;
    std::vector<std::vector<VIDEO_DIMENSION>> dimensions;    // per video
    std::vector<std::vector<VIDEO_QUALITY>> qualities;       // per video and dimension
    MMS_CAP_INFO mms{};
    FMGR_CAP_INFO fmgr{};
    std::vector<FMGR_FILETYPE_CAP> fmgrTypes;
    FJ_CAP_INFO fj{};
    std::vector<FMGR_FILETYPE_CAP> fjTypes;
    std::vector<PL_CAP_INFO> plList;
    AGENT_INFO agent{};

    SampleHandset() = default;
    SampleHandset(const SampleHandset&) = delete;   // raw points into this object
    SampleHandset& operator=(const SampleHandset&) = delete;
};

// Fills h with the sample handset: three image types, two melody types (formats 1, 8 and
// 128; 32768), two calendar entries, `videoCount` video types (10, 11, ...) with two
// dimensions of two qualities each, MMS, a file manager and an FJ record.
void BuildSampleHandset(SampleHandset& h, int videoCount);

// One line that says what the handset in g_cap supports, read through the accessors and
// the melody queries (the same line in every process that reads the same tables).
std::string CapabilitySummary();

// The same for a person: lines separated by '|'.
std::string CapabilityReport();
