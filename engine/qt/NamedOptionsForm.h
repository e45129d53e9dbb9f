// The named save options as rows of a form, one control per entry of their table: the "Web"
// settings page and the scheduler's job dialog show the same controls, and an option added
// to the table appears in both without a change here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/NamedOptions.h"

class QFormLayout;
class QWidget;

namespace engineqt {

class NamedOptionsForm {
public:
    // Adds one row per option to `form`; the controls are children of `parent` and are named
    // "opt-<name>" (a path's choose button "opt-<name>-browse").
    NamedOptionsForm(QWidget* parent, QFormLayout* form);

    void Show(const engine::NamedOptions& options);
    // Takes the controls' values into `options`; 0 with `error` (naming the option) when one
    // cannot be taken, and then `options` is left as it was.
    [[nodiscard]] int Read(engine::NamedOptions& options, std::string* error = nullptr) const;

private:
    struct Control {
        const engine::NamedOptionDescriptor* option;
        std::function<void(const std::string&)> show;
        std::function<std::string()> text;
    };
    std::vector<Control> m_controls;
};

}  // namespace engineqt
