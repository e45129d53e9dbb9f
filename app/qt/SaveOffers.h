// The questions an interactive save asks when its report has been shown.
#pragma once

class QWidget;

namespace engine {
class SaveJob;
}

namespace appqt {

struct UiHooks;

// Asks the offers that apply to the finished job (app/SaveOffers.h) one after another; each
// Yes starts a cleaning run of its own. Without a display every question is answered No:
// nobody asked for a second program to run.
void AskOffersAfterSave(QWidget* owner, engine::SaveJob& job, const UiHooks& hooks);

}  // namespace appqt
