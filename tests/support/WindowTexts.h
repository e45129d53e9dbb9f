// The texts a window shows the user as its own wording: titles, labels, buttons, group
// captions, menus, tabs, column headers, choices, tips and placeholders. Contents (list
// rows, edited text, logs) are the user's data and left out. Used by the screenshot programs
// to compare the Japanese windows run to run and to find Japanese left in the English ones.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTreeWidget>
#include <QTableWidget>
#include <QWidget>
#include <cstdio>
#include "platform/UiLanguage.h"
#include <string>
#include <vector>

namespace windowtexts {

// Kana, kanji, full-width forms.
inline bool HasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

struct Text {
    QString where;
    QString text;
    bool cutOff = false;
    bool sameInEveryLanguage = false;  // listed by its widget's property "sameInEveryLanguage"
};

inline void AddMenu(std::vector<Text>& out, QMenu* menu, const QString& where) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        out.push_back({where + "/menu", action->text()});
        if (action->menu()) AddMenu(out, action->menu(), where + "/" + action->text());
    }
}

// The texts of one widget.
inline void AddWidget(std::vector<Text>& out, QWidget* w, QWidget* window) {
    const QString where = QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName();
    if (!w->toolTip().isEmpty()) out.push_back({where + " tip", w->toolTip()});
    if (!w->isVisibleTo(window)) return;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const bool cut = !label->wordWrap() && label->width() < label->minimumSizeHint().width();
        out.push_back({where, label->text(), cut});
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return;
        const bool cut = button->width() < button->minimumSizeHint().width();
        out.push_back({where, button->text(), cut});
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        out.push_back({where, group->title()});
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (!combo->isEditable())
            for (int i = 0; i < combo->count(); ++i) out.push_back({where + " choice", combo->itemText(i)});
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (!edit->placeholderText().isEmpty()) out.push_back({where + " placeholder", edit->placeholderText()});
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) out.push_back({where + " tab", tabs->tabText(i)});
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        if (!tree->isHeaderHidden())
            for (int i = 0; i < tree->columnCount(); ++i) out.push_back({where + " column", tree->headerItem()->text(i)});
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
        for (int i = 0; i < table->columnCount(); ++i)
            if (QTableWidgetItem* h = table->horizontalHeaderItem(i)) out.push_back({where + " column", h->text()});
    } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
        for (QAction* action : bar->actions()) {
            out.push_back({"menubar", action->text()});
            if (action->menu()) AddMenu(out, action->menu(), action->text());
        }
    }
}

inline std::vector<Text> Collect(QWidget* window) {
    std::vector<Text> out;
    out.push_back({"title", window->windowTitle()});
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        const size_t first = out.size();
        AddWidget(out, w, window);
        // A language's own name, say, reads the same in every language on purpose.
        const QStringList same = w->property("sameInEveryLanguage").toStringList();
        for (size_t i = first; i < out.size(); ++i) out[i].sameInEveryLanguage = same.contains(out[i].text);
    }
    return out;
}

// The options the screenshot programs share: PROGRAM OUTPUT-FOLDER [--language ja|en]
// [--texts FILE]. False (with the usage on stderr) when they do not parse.
struct ShotOptions {
    std::string textsPath;
    platform::UiLanguage language = platform::UiLanguage::Japanese;
};

inline bool ParseShotOptions(int argc, char** argv, ShotOptions& options) {
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--texts") options.textsPath = argv[i + 1];
        else if (flag == "--language") options.language = platform::ChooseUiLanguage(argv[i + 1]);
    }
    if (argc >= 2 && argc % 2 == 0) return true;
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER [--language ja|en] [--texts FILE]\n", argc > 0 ? argv[0] : "screenshots");
    return false;
}

// Writes the window's texts under "== name"; in English, returns how many are still Japanese
// or cut off (each also printed to stderr).
inline int WriteTexts(FILE* file, QWidget* window, const std::string& name, bool english) {
    int faults = 0;
    std::fprintf(file, "== %s\n", name.c_str());
    for (const Text& t : Collect(window)) {
        if (t.text.isEmpty()) continue;
        const QByteArray line = (t.where + ": " + QString(t.text).replace('\n', "\\n")).toUtf8();
        std::fprintf(file, "%s\n", line.constData());
        if (!english) continue;
        if (HasJapanese(t.text) && !t.sameInEveryLanguage) {
            std::fprintf(stderr, "%s: Japanese left: %s\n", name.c_str(), line.constData());
            ++faults;
        } else if (t.cutOff) {
            std::fprintf(stderr, "%s: cut off: %s\n", name.c_str(), line.constData());
            ++faults;
        }
    }
    return faults;
}

}  // namespace windowtexts
