// The captions each phase of the installation shows.
#include "app/install_phase.h"

#include <gtest/gtest.h>

#include <string>

#include "payload/package_texts.h"

namespace pelmora {
namespace {

std::string orNone(const char* key) {
    return key ? key : "<none>";
}
std::wstring orNone(const wchar_t* text) {
    return text ? text : L"<none>";
}

TEST(InstallPhaseTest, CaptionsFollowThePhase) {
    const struct {
        InstallPhase phase;
        const char* finishButton;
        const char* statusLabel;
        const wchar_t* percentLabel;
    } cases[] = {
        {InstallPhase::Idle, nullptr, nullptr, nullptr},
        {InstallPhase::Installing, "installing", nullptr, nullptr},
        {InstallPhase::Finished, "finish", "statusDone", L"100 %"},
        {InstallPhase::Failed, "exit", "statusFailed", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(installPhaseName(c.phase));
        const PhaseCaptions captions = phaseCaptions(c.phase);
        EXPECT_EQ(orNone(captions.finishButton), orNone(c.finishButton));
        EXPECT_EQ(orNone(captions.statusLabel), orNone(c.statusLabel));
        EXPECT_EQ(orNone(captions.percentLabel), orNone(c.percentLabel));
        // A key the package does not hold would show an empty caption.
        for (const char* key : {captions.finishButton, captions.statusLabel}) {
            if (key) {
                EXPECT_NE(package::findWindowText(key), nullptr) << key;
            }
        }
    }
}

}  // namespace
}  // namespace pelmora
