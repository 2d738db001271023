#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QRadioButton;

// One template in a chooser: its picture and an option button captioned with
// the template code. value is the template's tmplName; selected is 1 for the
// chosen one (bordered picture, ticked button) and 0 otherwise.
class tmpl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue)
    Q_PROPERTY(int selected READ selected WRITE setSelected)
public:
    // appPath: the application directory, whose "template/" holds the pictures.
    explicit tmpl(const QString& appPath, QWidget* parent = nullptr);

    QString value() const { return m_value; }
    void setValue(const QString& value);
    int selected() const { return m_selected; }
    void setSelected(int selected);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_appPath;
    QString m_value;
    int m_selected = 0;
    QRadioButton* optTmpl = nullptr;
    QLabel* imgTmpl = nullptr;
};
