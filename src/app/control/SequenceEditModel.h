#pragma once

#include "sequences/CharacterCode.h"
#include "sequences/modShortCutManagement.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class Clipboard;

// What the sequence edit control decides, without any drawing: the characters, the caret and the
// selection over characters, the token a user is typing digit by digit, undo and redo, the layout
// of the tokens in character cells, and the exchange with the clipboard. The control turns keys
// and clicks into these commands and draws what tokens() and layout() describe.
class SequenceEditModel {
public:
    static constexpr int kDefaultMaximumLength = 1024;
    static constexpr int kLargestMaximumLength = 32767;
    static constexpr std::size_t kUndoDepth = 200;

    // How a token is drawn.
    enum class TokenKind { Data, Control, Special, Partial };

    struct Token {
        std::string text; // UTF-8
        TokenKind kind = TokenKind::Data;
        int cells = 0; // width in character cells
    };

    // Where a token stands in a layout: its line and first cell.
    struct Place {
        int line = 0;
        int cell = 0;
    };

    // The result of a command that the user caused: whether the characters changed, and whether
    // the command was refused (the control beeps).
    struct Outcome {
        bool changed = false;
        bool refused = false;
    };

    SequenceEditModel();

    // --- settings of the control
    // The symbols that may be inserted; a leading R (receive pattern) is kept apart.
    void setAllowedSpecialCharacters(std::string_view symbols);
    const std::string& allowedSymbols() const { return allowedSymbols_; }
    bool receivePattern() const { return receivePattern_; }
    bool symbolAllowed(char symbol) const;
    void setMaximumLength(int maximum);
    int maximumLength() const { return maximumLength_; }
    // Switching keeps the characters and the caret's character; a token typed halfway is
    // completed first.
    void setRepresentation(Representation representation);
    Representation representation() const { return representation_; }
    void setShortcutTable(std::string_view text);
    const modShortCutManagement::UserShortcutTable& shortcutTable() const { return shortcuts_; }

    // --- contents
    // Replaces the characters (the first -1 ends them; other codes that are no characters are
    // skipped), caret at the end, no selection, undo emptied. The maximum length holds for the
    // user's typing and pasting; a longer sequence handed over here is kept whole.
    void setCodes(const std::vector<CharCode>& codes);
    const std::vector<CharCode>& codes() const { return codes_; }
    // The characters ended by -1.
    std::vector<CharCode> sequenceWithEndMarker() const;
    int length() const { return static_cast<int>(codes_.size()); }

    // --- caret and selection (0-based positions between characters, 0 to length)
    int caret() const { return caret_; }
    int anchor() const { return anchor_; }
    bool hasSelection() const { return caret_ != anchor_; }
    int selectionStart() const;
    int selectionEnd() const;
    // Moves the caret (clamped); with extend the anchor stays, else it follows. A token typed
    // halfway is completed first, and the position counts the characters after that.
    Outcome moveCaret(int position, bool extend);
    Outcome selectAll();
    // The digits of the token typed halfway (empty when none).
    const std::string& partialToken() const { return partial_; }
    // Takes a token typed halfway as it stands: its digits are the token's low digits.
    Outcome completePartial();

    // --- typing
    // A text key: in ASCII its characters are typed; in the other representations digits of the
    // radix fill the token at the caret, a blank completes a shorter token, and other letters
    // type their editor character. '?' and '#' insert wildcards where the symbol is allowed.
    Outcome typeText(std::string_view text);
    // Types one character code (a shortcut, an editor character, a wildcard).
    Outcome typeCode(int code);
    // The character whose editor character is the letter, or -1.
    int editorCharacterCode(char letter) const;
    // The character whose shortcut is the key (a Windows virtual-key code) with the shift state,
    // or -1.
    int shortcutCode(int virtualKey, int shiftState) const;
    Outcome backspace();
    Outcome deleteForward();

    // --- undo
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    Outcome undo();
    Outcome redo();

    // --- clipboard
    // The sequence clipboard the dialogs exchange with the control.
    void setSequenceClipboard(std::string_view text, const std::vector<CharCode>& codes);
    const std::string& clipboardText() const { return clipboardText_; }
    // The clipboard sequence, ended by -1.
    std::vector<CharCode> clipboardSequence() const;
    // Copy puts the selection on the clipboard as text of the representation and remembers it.
    bool copy(Clipboard& clipboard);
    Outcome cut(Clipboard& clipboard);
    // Pasting the remembered text gives back the remembered characters; other text is read in
    // the representation. Special characters that are not allowed are left out; what would pass
    // the maximum length is cut off (and refused).
    Outcome paste(const Clipboard& clipboard);
    // The characters a clipboard text stands for, special characters that are not allowed left
    // out.
    std::vector<CharCode> charactersOfText(std::string_view text) const;

    // --- drawing
    // One token per character, and the partial token (kind Partial) at the caret while one is
    // typed: then the tokens from the caret on stand one further than their characters.
    std::vector<Token> tokens() const;
    // The token of one character in a representation.
    static Token tokenOf(int code, Representation representation);
    // Cells left blank between two tokens: 0 in ASCII, 1 in the others.
    int gapCells() const;
    // Lays the tokens out in lines of at most columns cells (one line when columns <= 0); one
    // place per token plus one for the end (where the caret stands after the last token).
    std::vector<Place> layout(const std::vector<Token>& tokens, int columns) const;
    // The character position nearest to a point given in cells (fractions count): the caret goes
    // in front of the token under the point, or behind it from the token's right half on.
    int positionAt(const std::vector<Token>& tokens, const std::vector<Place>& places, int line,
                   double cell) const;
    // The index of the token in front of which the caret stands.
    int caretTokenIndex() const;
    // The character of a token (-1 for the partial token).
    int characterOfToken(int tokenIndex) const;

private:
    struct Snapshot {
        std::vector<CharCode> codes;
        int caret = 0;
        int anchor = 0;
    };

    Outcome typeDigit(char digit);
    Token partialTokenOf() const;
    Outcome insertCodes(const std::vector<CharCode>& codes);
    bool removeSelection();
    void pushUndo();
    Snapshot snapshot() const;
    void restore(const Snapshot& state);
    int roomLeft() const;

    std::vector<CharCode> codes_;
    int caret_ = 0;
    int anchor_ = 0;
    std::string partial_;
    Representation representation_ = Representation::ASCII;
    int maximumLength_ = kDefaultMaximumLength;
    std::string allowedSymbols_ = "?#";
    bool receivePattern_ = false;
    modShortCutManagement::UserShortcutTable shortcuts_;
    std::vector<Snapshot> undo_;
    std::vector<Snapshot> redo_;
    std::string clipboardText_;
    std::vector<CharCode> clipboardCodes_;
};

} // namespace corvane
