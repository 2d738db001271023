#pragma once

#include <QDate>
#include <QPointer>
#include <QWidget>

#include <QCalendarWidget>
class QLineEdit;
class QToolButton;

// The date picker of the entry dialogs: a text box, a drop button and a month
// calendar that drops below them. Its value is the date as text ("2026/12/6").
class myDate : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue NOTIFY valueChanged)
public:
    static QString dateFormat() { return QStringLiteral("yyyy/M/d"); }
    static QString toText(const QDate& date) { return date.toString(dateFormat()); }

    explicit myDate(QWidget* parent = nullptr);
    ~myDate() override;

    QString value() const;
    // Puts the text into the box and, when it is a date, shows that month.
    void setValue(const QString& text);

    QLineEdit* txtValue() const { return m_txtValue; }
    QToolButton* cmdDown() const { return m_cmdDown; }
    QCalendarWidget* mnthView() const { return m_mnthView; }

public Q_SLOTS:
    void toggleCalendar();

Q_SIGNALS:
    void valueChanged(const QString& value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mnthView_DateClick(const QDate& date);

    QLineEdit* m_txtValue = nullptr;
    QToolButton* m_cmdDown = nullptr;
    QPointer<QCalendarWidget> m_mnthView;
};
