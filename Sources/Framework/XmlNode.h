#pragma once
// The document tree the XML reader builds: elements (a name and children in
// document order) and texts. Each node remembers where its token began, for
// error messages. An element owns its children.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class XmlNode
{
public:
    XmlNode(uint32_t line, uint32_t column) : mLine(line), mColumn(column) {}
    virtual ~XmlNode() = default;
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    virtual bool isElement() const { return false; }
    virtual bool isText() const { return false; }
    uint32_t line() const { return mLine; }
    uint32_t column() const { return mColumn; }

private:
    uint32_t mLine;
    uint32_t mColumn;
};

class XmlElement final : public XmlNode
{
public:
    XmlElement(std::string name, uint32_t line, uint32_t column)
        : XmlNode(line, column), mName(std::move(name))
    {
    }

    bool isElement() const override { return true; }
    const std::string& name() const { return mName; }
    size_t childCount() const { return mChildren.size(); }
    XmlNode* child(size_t index) const { return mChildren[index].get(); }
    const std::vector<std::unique_ptr<XmlNode>>& children() const { return mChildren; }
    // The first child element with exactly this name, or null.
    XmlElement* findChild(const std::string& name) const;
    void addChild(std::unique_ptr<XmlNode> child) { mChildren.push_back(std::move(child)); }

private:
    std::string mName;
    std::vector<std::unique_ptr<XmlNode>> mChildren;
};

class XmlText final : public XmlNode
{
public:
    XmlText(std::string text, uint32_t line, uint32_t column) : XmlNode(line, column), mText(std::move(text))
    {
    }

    bool isText() const override { return true; }
    const std::string& text() const { return mText; }

private:
    std::string mText;
};
