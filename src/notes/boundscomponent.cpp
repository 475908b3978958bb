#include "boundscomponent.h"

#include "notestext.h"

std::string BoundsComponent::componentName() const
{
    return NotesText::toBytes(m_window.objectName());
}

std::string BoundsComponent::iniValue() const
{
    return NotesText::toBytes(m_window.boundsValue());
}

void BoundsComponent::setIniValue(std::string_view value)
{
    m_window.applyBoundsValue(NotesText::fromBytes(value));
}
