// The input view: the start URL and the save path of a complete save.
#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;

namespace engine {
class SaveJob;
}

namespace appqt {

class InputView : public QWidget {
public:
    InputView(engine::SaveJob& job, std::function<void()> startSave, QWidget* parent = nullptr);

    void OnCommand(int id);
    // Checks the fields, fills the job and starts the save. False when a field is wrong.
    bool StartSave();

private:
    engine::SaveJob& m_job;
    std::function<void()> m_startSave;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_path = nullptr;
};

}  // namespace appqt
