#include "tools/pack/pack_run.h"

#include "tools/pack/pack_plan.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/progress.h"

namespace pelmora::pack {
namespace {

int report(const std::vector<Problem>& problems, std::string* messages) {
    ExitCode code = ExitCode::Ok;
    for (const Problem& p : problems) {
        *messages += "pack: " + p.message + "\n";
        // A usage problem decides the status: the command needs fixing first.
        if (code != ExitCode::Usage) code = p.code;
    }
    return static_cast<int>(code);
}

}  // namespace

int runPack(const std::vector<std::string>& args, const RunSettings& settings, std::string* messages) {
    PackRequest request;
    std::vector<Problem> problems;
    const bool parsed = parseRequest(args, settings.currentFolder, &request, &problems);
    if (request.help || args.empty()) {
        *messages += usageText();
        if (parsed) return static_cast<int>(request.help ? ExitCode::Ok : ExitCode::Usage);
        return report(problems, messages);
    }
    if (!parsed) return report(problems, messages);
    PackPlan plan;
    if (!planPackage(request, settings.stubFolder, &plan, &problems)) return report(problems, messages);
    ProgressBar progress(settings.progress, settings.interactive, request.quiet || !settings.progress);
    std::string error;
    const volatile std::sig_atomic_t* interrupted = settings.interrupted;
    if (!writePackage(
            plan, progress, [interrupted] { return interrupted && *interrupted; }, &error)) {
        *messages += "pack: " + error + "; no installer was written\n";
        const bool stopped = interrupted && *interrupted;
        return static_cast<int>(stopped ? ExitCode::Interrupted : ExitCode::BuildFailed);
    }
    if (!request.quiet) {
        *messages += "pack: wrote " + displayPath(plan.output) + ", an installer for " +
                     architectureName(plan.stubImage.architecture) + "\n";
    }
    return static_cast<int>(ExitCode::Ok);
}

}  // namespace pelmora::pack
