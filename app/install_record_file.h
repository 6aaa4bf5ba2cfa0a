// The install record and the uninstaller as files in the product folder:
// written so that a crash or a full disk never leaves a half-written one
// under the real name (a temporary file beside it, flushed, then moved over
// the real name in one step), and read back through the record's own checks.
#pragma once

#include <cstdint>
#include <string>

#include "payload/install_record.h"

namespace pelmora {

std::wstring recordPath(const std::wstring& productFolder);
std::wstring uninstallerPath(const std::wstring& productFolder);

// Writes `bytes` (or the first `count` bytes of the file `source`) into a
// temporary file beside `path`, flushes it, then moves it over `path`
// (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). False, with the
// system's error code set and the temporary file removed, when any step fails.
bool replaceFileWith(const std::wstring& path, const std::string& bytes);
bool replaceFileWithStart(const std::wstring& path, const std::wstring& source, std::uint64_t count);

bool writeRecordFile(const std::wstring& productFolder, const record::InstallRecord& record);

enum class RecordFileState { Ok, Missing, Damaged };
// The record in the product folder; *why names the fault when it is damaged.
RecordFileState readRecordFile(const std::wstring& productFolder, record::InstallRecord* out,
                               record::RecordResult* why = nullptr);

// The size and CRC-32 of a file's bytes; false when it cannot be read.
bool fileChecksum(const std::wstring& path, std::uint64_t* size, std::uint32_t* crc);

}  // namespace pelmora
