#pragma once
// A component that owns an ordered list of children (index order is drawing
// order: the last child is on top) and draws a frame through the renderer of
// its look. GuiRoot is the root of the tree; its children are the layers.
#include "Gui/Component.h"
#include "Gui/Look.h"

#include <algorithm>
#include <concepts>
#include <iterator>
#include <memory>
#include <vector>

// A child the container owns, or one it only shows for the widget that owns
// it (the infotip's extra widget is lent to the infotip by its label).
struct ChildDeleter
{
    bool lent = false;
    void operator()(Component* child) const
    {
        if (!lent)
            delete child;
    }
};
using ChildPtr = std::unique_ptr<Component, ChildDeleter>;

// The children in drawing order as plain pointers: what a caller reads
// without taking part in the ownership. Valid until the children change.
class ChildList
{
public:
    class iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Component*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Component*;

        iterator() = default;
        explicit iterator(std::vector<ChildPtr>::const_iterator at) : mAt(at) {}
        Component* operator*() const { return mAt->get(); }
        Component* operator[](difference_type n) const { return mAt[n].get(); }
        iterator& operator++()
        {
            ++mAt;
            return *this;
        }
        iterator operator++(int) { return iterator(mAt++); }
        iterator& operator--()
        {
            --mAt;
            return *this;
        }
        iterator operator--(int) { return iterator(mAt--); }
        iterator& operator+=(difference_type n)
        {
            mAt += n;
            return *this;
        }
        iterator& operator-=(difference_type n)
        {
            mAt -= n;
            return *this;
        }
        friend iterator operator+(iterator it, difference_type n) { return it += n; }
        friend iterator operator+(difference_type n, iterator it) { return it += n; }
        friend iterator operator-(iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const iterator& a, const iterator& b) { return a.mAt - b.mAt; }
        friend auto operator<=>(const iterator&, const iterator&) = default;
        friend bool operator==(const iterator&, const iterator&) = default;

    private:
        std::vector<ChildPtr>::const_iterator mAt;
    };
    using const_iterator = iterator;
    using value_type = Component*;
    using reverse_iterator = std::reverse_iterator<iterator>;

    explicit ChildList(const std::vector<ChildPtr>& children) : mChildren(&children) {}

    size_t size() const { return mChildren->size(); }
    bool empty() const { return mChildren->empty(); }
    Component* operator[](size_t index) const { return (*mChildren)[index].get(); }
    Component* front() const { return mChildren->front().get(); }
    Component* back() const { return mChildren->back().get(); }
    iterator begin() const { return iterator(mChildren->begin()); }
    iterator end() const { return iterator(mChildren->end()); }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    operator std::vector<Component*>() const { return {begin(), end()}; }
    friend bool operator==(const ChildList& list, const std::vector<Component*>& other)
    {
        return std::equal(list.begin(), list.end(), other.begin(), other.end());
    }

private:
    const std::vector<ChildPtr>* mChildren;
};

class Container : public Component
{
public:
    // Null margins take the look's.
    Container(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId,
              const Margins* margins = nullptr);
    Container(const Rect& rect, uint32_t lookId, const Margins* margins = nullptr);
    ~Container() override;

    ErrorCode render() override;
    void updateLayout() override;
    void animate() override;
    void setRenderList(RenderList* list) override;
    int64_t onWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam) override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;
    // A container is never itself a hover candidate.
    bool isHoverable() override { return false; }
    void moveTo(int32_t x, int32_t y, bool update) override;
    ErrorCode onDeviceLost() override;
    ErrorCode onDeviceReset() override;

    // Takes ownership. A position given before is relative to the client
    // origin; afterwards it is absolute. The plain-pointer forms take a
    // widget just made with new.
    template <std::derived_from<Component> T> T* addChild(std::unique_ptr<T> child)
    {
        T* added = child.get();
        appendChild(ChildPtr(child.release()));
        return added;
    }
    void addChild(Component* child) { appendChild(ChildPtr(child)); }
    void appendChild(ChildPtr child);
    // Under the GUI root the child is added after the current dispatch.
    template <std::derived_from<Component> T> T* add(std::unique_ptr<T> child)
    {
        T* added = child.get();
        addOwned(ChildPtr(child.release()));
        return added;
    }
    void add(Component* child) { addOwned(ChildPtr(child)); }
    void insertChildAtFront(Component* child) { insertChildAtFront(ChildPtr(child)); }
    void insertChildAtFront(ChildPtr child);
    // Gives the child back to the caller, who owns it again.
    void removeChild(Component* child) { (void)takeChild(child).release(); }
    // The child's entry, out of the array: the caller decides its fate.
    // Null when it is not a child.
    ChildPtr takeChild(Component* child);
    void removeAndDeleteChild(Component* child);
    // Under the GUI root the child goes after the current dispatch.
    void deleteChild(Component* child);
    void deleteAllChildren();
    void setMargins(const Margins& margins);
    void setChildrenHovered(bool hovered);

    ChildList getChildren() const { return ChildList(mChildren); }
    LookRenderer* getRenderer() const { return mRenderer.get(); }
    Margins getMargins() const { return {mMarginLeft, mMarginTop, mMarginRight, mMarginBottom}; }
    int32_t getMarginLeft() const { return mMarginLeft; }
    int32_t getMarginTop() const { return mMarginTop; }
    int32_t getMarginRight() const { return mMarginRight; }
    int32_t getMarginBottom() const { return mMarginBottom; }
    // True when this container is the root or lies under it.
    bool isInRootTree() const;

    // An entry for a widget shown here that stays its owner's.
    static ChildPtr lend(Component* child) { return ChildPtr(child, ChildDeleter{true}); }

protected:
    // Places a child just inserted.
    void placeNewChild(Component* child);
    Component* childAt(size_t index) const { return mChildren[index].get(); }
    size_t childCount() const { return mChildren.size(); }

    std::unique_ptr<LookRenderer> mRenderer;
    int32_t mMarginLeft = 0;
    int32_t mMarginTop = 0;
    int32_t mMarginRight = 0;
    int32_t mMarginBottom = 0;

private:
    void initLook(uint32_t lookId, const Margins* margins);
    void addOwned(ChildPtr child);

    std::vector<ChildPtr> mChildren;
};

class GuiRoot final : public Container
{
public:
    GuiRoot(int32_t width, int32_t height);
    ~GuiRoot() override;
    // The topmost layer is asked first.
    uint32_t onMouseEvent(const MouseEvent& event) override;
};
