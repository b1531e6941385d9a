#include "Framework/XmlNode.h"

XmlElement* XmlElement::findChild(const std::string& name) const
{
    for (const auto& child : mChildren)
    {
        if (child->isElement())
        {
            auto* element = static_cast<XmlElement*>(child.get());
            if (element->name() == name)
                return element;
        }
    }
    return nullptr;
}
