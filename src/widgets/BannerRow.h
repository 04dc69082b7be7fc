#pragma once

#include <QFrame>

class PlainLabel;
class QHBoxLayout;
class QVBoxLayout;
class SymbolView;

/// The coloured message row above a form's buttons: a red warning sign for errors, a green
/// tick for success, the message as plain text on a faint tint of the same colour. The notice
/// kind is quieter: an orange warning sign and grey text on a faint orange tint, for a failure
/// the user can simply try again. The sign is as tall as the message's font.
class BannerRow final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BannerRow)

public:
    enum class Kind { error, success, notice };

    /// Longest message shown in full; a server that answers with a whole web page must
    /// not push the form's buttons out of its window. The tool tip keeps the whole text.
    static constexpr qsizetype maxShownCharacters = 160;

    explicit BannerRow(Kind kind, QWidget* parent = nullptr);

    void setMessage(const QString& message);
    /// Centres the sign and the message in the row instead of starting them at its left.
    void setContentCentred(bool centred);
    /// Shows at most `lines` lines of the message (0, the default: as many as it takes),
    /// ending the last with "…"; the tool tip then holds the whole message. For a form of
    /// fixed height that a long server answer must not push apart.
    void setLineLimit(int lines);
    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] Kind kind() const { return m_kind; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QColor colour() const;
    [[nodiscard]] QColor tint() const;
    void fitText();
    void fitSymbol();
    void applySymbolBackdrop();
    void applyTextColour();

    Kind m_kind;
    QString m_message;
    QString m_shown;
    int m_lineLimit = 0;
    SymbolView* m_icon;
    QVBoxLayout* m_iconColumn;
    PlainLabel* m_text;
    QHBoxLayout* m_layout;
    bool m_centred = false;
};
