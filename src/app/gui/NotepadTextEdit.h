#pragma once

#include <QTextEdit>

namespace corvane {

class NotepadController;

// The notepad's rich text control (rtfNotepad): its keys and pop-up menu go to the notepad's
// commands, a typed character tells the notepad first, and the clipboard carries Rich Text Format
// besides HTML and plain text.
class NotepadTextEdit : public QTextEdit {
    Q_OBJECT
public:
    NotepadTextEdit(NotepadController& controller, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    NotepadController& controller_;
};

} // namespace corvane
