#pragma once

#include <QComboBox>

// An editable combo box that completes from its entries and keeps a most-recent-first history
// of the texts its dialog accepted. The entries are kept by the dialog's store
// (TFormStorage::bind with "Component.Items").
class TTarvoComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int HistoryLen READ HistoryLen WRITE SetHistoryLen)
public:
    explicit TTarvoComboBox(QWidget* parent = nullptr);

    // How many entries the history keeps; 0 keeps none. 10 unless set.
    int HistoryLen() const { return m_historyLen; }
    void SetHistoryLen(int length) { m_historyLen = length; }

    // Called by the dialog when its entry is accepted: a non-empty text that is not yet an
    // entry (compared exactly) goes to the top, and the last entry goes when the history then
    // holds more than HistoryLen. The edited text stays as it is.
    void AddToHistory();
    QStringList Items() const;

private:
    int m_historyLen = 10;
};
