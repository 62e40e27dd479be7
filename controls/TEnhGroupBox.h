#pragma once
// TEnhGroupBox: a group frame whose caption is a check box named
// "ICheckBox". Ticking it enables every other control of the group,
// unticking disables them; the box itself stays enabled. OnClickChecked
// runs after a toggle by the user; setting Checked from code does the same
// enabling without the event.

#include <QWidget>

#include <functional>

class QCheckBox;

namespace brx {

class TEnhGroupBox : public QWidget {
    Q_OBJECT
public:
    explicit TEnhGroupBox(QWidget* parent = nullptr);
    TEnhGroupBox(const QString& caption, QWidget* parent);

    std::function<void(TEnhGroupBox* Sender)> OnClickChecked;

    bool Checked() const { return m_checked; }
    void SetChecked(bool value);
    QString Caption() const;
    void SetCaption(const QString& value);
    QCheckBox* ICheckBox() const { return m_checkBox; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void userToggled(bool checked);
    void applyToChildren();
    void placeCheckBox();

    QCheckBox* m_checkBox = nullptr;
    bool m_checked = true;
};

} // namespace brx
