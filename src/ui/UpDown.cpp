#include "ui/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CUpDown::CUpDown(QWidget* parent) : QWidget(parent)
{
    m_pUp = new QToolButton(this);
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown = new QToolButton(this);
    m_pDown->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_pUp, m_pDown}) {
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_pUp->setAccessibleName(QStringLiteral("Up"));
    m_pDown->setAccessibleName(QStringLiteral("Down"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pUp);
    layout->addWidget(m_pDown);
    connect(m_pUp, &QToolButton::clicked, this, [this]() { StepBy(1); });
    connect(m_pDown, &QToolButton::clicked, this, [this]() { StepBy(-1); });
}

void CUpDown::SetRange(int minimum, int maximum)
{
    m_nMinimum = minimum;
    m_nMaximum = std::max(minimum, maximum);
    m_nPosition = std::clamp(m_nPosition, m_nMinimum, m_nMaximum);
}

void CUpDown::SetPosition(int position)
{
    m_nPosition = std::clamp(position, m_nMinimum, m_nMaximum);
}

void CUpDown::StepBy(int steps)
{
    int before = m_nPosition;
    SetPosition(m_nPosition + steps);
    if (m_nPosition != before)
        emit PositionMoved(m_nPosition);
}
