#pragma once
// TComboBox98: an editable combo box that completes the typed text with the
// first item of its list that begins with it (letter case ignored). The
// typed part keeps the user's case and the added part is selected, so that
// typing on replaces it. Backspace and Delete never complete, so that they
// can remove a completion. OnComplete may change or refuse a completion.
//
// Qt's own inline completer is switched off: it completes from a sorted or
// filtered model and keeps the item's case, which is not what is wanted.

#include <QComboBox>

#include <functional>

namespace brx {

class TComboBox98 : public QComboBox {
    Q_OBJECT
public:
    explicit TComboBox98(QWidget* parent = nullptr);

    // Key is the Qt key code of the last key pressed in the box.
    std::function<void(TComboBox98* Sender, int Key, bool& Accept, QString& Completion)> OnComplete;

    bool Complete() const { return m_complete; }
    void SetComplete(bool value) { m_complete = value; }
    int MinLengthComplete() const { return m_minLengthComplete; }
    void SetMinLengthComplete(int value) { m_minLengthComplete = static_cast<qint16>(value); }
    int LastKey() const { return m_lastKey; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void installEditor();
    void completeText(const QString& typed);

    bool m_complete = true;
    qint16 m_minLengthComplete = 0;
    int m_lastKey = 0;
};

} // namespace brx
