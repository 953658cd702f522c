#include "app/capture.h"

#include <vector>

#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/desktop_facts.h"
#include "platform/capture/recording_backend.h"
#include "platform/guarded.h"
#include "screeninfo/screen_info_members.h"

namespace si32 {
namespace {

// Every desktop fact a ScreenInfo getter reads, whatever the system's
// version would let the class offer.
void readDesktopFacts(Platform& platform) {
    std::vector<capture::DesktopQuestion> questions;
    for (const screen_info::MemberEntry& entry : screen_info::kMembers)
        questions.push_back({entry.metric, entry.getAction});
    capture::AskDesktopFacts(platform.ui, questions);
}

}  // namespace

nlohmann::ordered_json CaptureMachine(Backend& machine, const capture::Privacy& privacy, const CaptureSteps& steps) {
    capture::RecordingBackend recorder(machine);
    {
        Session session(recorder.platform());
        Form_Load(session);
        if (!session.RefusedSecondInstance) {
            Form_Activate(session);
            if (!steps.firstDrive.empty()) guarded([&] { session.form.SetDrive1(steps.firstDrive); });
            if (steps.afterFirstDrive) steps.afterFirstDrive(session);
            recorder.KeepSpaceAsShown();
            for (const DriveListEntry& entry : std::vector<DriveListEntry>(session.form.Drive1Entries))
                guarded([&] { session.form.SetDrive1(std::string_view(&entry.letter, 1)); });
            recorder.StopStartingPrograms();
            session.mod.Command2_Click();
            if (steps.afterClick) steps.afterClick(session, recorder.platform().files.Started());
        }
    }
    readDesktopFacts(recorder.platform());
    recorder.Complete();
    return capture::DescribeMachine(recorder.recording(), privacy);
}

}  // namespace si32
