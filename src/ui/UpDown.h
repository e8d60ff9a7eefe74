#pragma once

// A pair of arrow buttons that step a number within a range, for a number typed in a
// separate edit beside it (the panel-cap field): the edit and the arrows keep each
// other up to date through their owner.

#include <QWidget>

class QToolButton;

class CUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit CUpDown(QWidget* parent = nullptr);
    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_nMinimum; }
    int GetMaximum() const { return m_nMaximum; }
    int GetPosition() const { return m_nPosition; }
    // Sets the position (kept inside the range) without emitting PositionMoved.
    void SetPosition(int position);
    // One step as the arrows take it; emits PositionMoved when the position changed.
    void StepBy(int steps);

signals:
    // The user moved the position with the arrows.
    void PositionMoved(int position);

private:
    QToolButton* m_pUp;
    QToolButton* m_pDown;
    int m_nMinimum = 0;
    int m_nMaximum = 100;
    int m_nPosition = 0;
};
