#include "tools/pack/package_writer.h"

#include <zlib.h>

#include "payload/package_block.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace pelmora::pack {
namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

int processId() {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

std::uint32_t crcOf(const std::string& bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

class Writer {
public:
    Writer(const PackPlan& plan, ProgressBar& progress, const std::function<bool()>& stopRequested)
        : plan_(plan), progress_(progress), stopRequested_(stopRequested) {}

    bool run(std::string* error) {
        if (!openPartial()) {
            return fail(error, withReason("cannot create a file beside " + displayPath(plan_.output), out_.failure()));
        }
        const bool written = copyStub() && writeBlock() && out_.finish(out_.position());
        if (!written) {
            out_.abandon();
            return fail(error,
                        error_.empty() ? withReason("cannot write " + displayPath(partial_), out_.failure()) : error_);
        }
        std::string reason;
        if (!replaceFile(partial_, plan_.output, &reason)) {
            removeFile(partial_);
            return fail(error, withReason("cannot replace " + displayPath(plan_.output), reason));
        }
        out_.keep();
        return true;
    }

private:
    static bool fail(std::string* error, std::string message) {
        *error = std::move(message);
        return false;
    }

    bool openPartial() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            NativePath candidate = plan_.output;
            candidate += NativePath(".partial-" + std::to_string(processId()) + "-" + std::to_string(attempt));
            if (fileKind(candidate) != FileKind::Missing) continue;
            if (out_.create(candidate)) {
                partial_ = candidate;
                return true;
            }
        }
        return false;
    }

    bool copyStub() {
        FileSource stub;
        if (!stub.open(plan_.stub)) return note("cannot read " + displayPath(plan_.stub));
        std::string chunk(kCopyChunk, '\0');
        for (std::uint64_t at = 0; at < plan_.stubImage.imageEnd;) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, plan_.stubImage.imageEnd - at));
            if (stopRequested_()) return note("interrupted");
            if (!stub.readAt(at, chunk.data(), n)) return note("cannot read " + displayPath(plan_.stub));
            if (!out_.write(chunk.data(), n)) return false;
            at += n;
        }
        return true;
    }

    bool note(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return false;
    }

    bool writeArchive() {
        ZipWriter zip(out_, plan_.zip);
        progress_.start(plan_.tree.totalBytes);
        const auto advance = [this](std::uint64_t bytes) {
            progress_.advance(bytes);
            return !stopRequested_();
        };
        for (const SourceEntry& e : plan_.tree.entries) {
            if (stopRequested_()) return note("interrupted");
            if (e.folder ? zip.addFolder(e.name) : zip.addFile(e.name, e.size, *plan_.tree.open(e), advance)) continue;
            return note(zip.error());
        }
        if (!zip.finish()) return note(zip.error());
        progress_.finish();
        sections_.push_back({package::SectionKind::Payload, 0, zip.size()});
        crc_ = zip.crc();
        length_ = zip.size();
        return true;
    }

    bool append(const std::string& bytes) {
        if (!out_.write(bytes)) return false;
        crc_ = package::crc32Combine(crc_, crcOf(bytes), bytes.size());
        length_ += bytes.size();
        return true;
    }

    bool appendSection(package::SectionKind kind, const std::string& bytes) {
        if (bytes.empty()) return true;
        sections_.push_back({kind, length_, bytes.size()});
        return append(bytes);
    }

    bool writeBlock() {
        const std::uint64_t blockOffset = out_.position();
        if (!writeArchive()) return false;
        if (!appendSection(package::SectionKind::Texts, package::encodeTexts(plan_.texts)) ||
            !appendSection(package::SectionKind::Background, plan_.background) ||
            !appendSection(package::SectionKind::Icon, plan_.icon) ||
            !appendSection(package::SectionKind::Background2x, plan_.background2x)) {
            return false;
        }
        // The file ends on an eight-byte boundary, so a signature added
        // later needs no padding of its own in front.
        const std::string directory = package::encodeDirectory(sections_);
        const std::uint64_t end = blockOffset + length_ + directory.size() + package::kTrailerSize;
        if (!append(std::string(static_cast<std::size_t>((8 - end % 8) % 8), '\0'))) return false;
        const std::uint64_t directoryOffset = length_;
        if (!append(directory)) return false;
        package::Trailer trailer;
        trailer.blockOffset = blockOffset;
        trailer.directoryOffset = directoryOffset;
        trailer.directorySize = static_cast<std::uint32_t>(directory.size());
        trailer.blockCrc = crc_;
        return out_.write(package::encodeTrailer(trailer));
    }

    const PackPlan& plan_;
    ProgressBar& progress_;
    const std::function<bool()>& stopRequested_;
    OutputFile out_;
    NativePath partial_;
    std::vector<package::Section> sections_;
    std::uint32_t crc_ = 0;
    std::uint64_t length_ = 0;
    std::string error_;
};

}  // namespace

bool writePackage(const PackPlan& plan, ProgressBar& progress, const std::function<bool()>& stopRequested,
                  std::string* error) {
    return Writer(plan, progress, stopRequested).run(error);
}

}  // namespace pelmora::pack
