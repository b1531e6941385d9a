#pragma once
// A node of the 3D scene tree, placed by its Transform3D relative to its
// parent. Drawing and picking walk the tree depth first, each child inside
// its own transform. Every node joins the 3D engine's scene root when it is
// made; its owner (board view, model, engine) destroys it. A parent does
// not own its children.
#include "Engine/Transform3D.h"
#include "Framework/ErrorCodes.h"

#include <cstdint>
#include <vector>

struct PickResult;

class ChildListNode
{
public:
    ChildListNode();
    // Leaves the parent's list. The children stay alive and become
    // parentless, so that destroying them later touches nothing freed.
    virtual ~ChildListNode();
    ChildListNode(const ChildListNode&) = delete;
    ChildListNode& operator=(const ChildListNode&) = delete;

    virtual ErrorCode onLostDevice();
    virtual ErrorCode onResetDevice();
    // The children, each inside its own transform; the first non-zero code
    // stops the walk.
    virtual ErrorCode render();
    // The same over the active and pickable children.
    virtual ErrorCode pick(PickResult* result);

    // Moves the child here, at the end of the list. A node is never put
    // under itself or one of its descendants.
    void addChild(ChildListNode* child);
    ErrorCode renderWithTransform();
    ErrorCode pickWithTransform(PickResult* result);
    void moveChildToBack(ChildListNode* child);
    void moveChildToFront(ChildListNode* child);
    // Through this node's transform and every ancestor's, up to the root.
    void localToWorld(const Platform::Vector3& in, Platform::Vector3* out) const;

    bool isActive() const { return mActive; }
    bool isPickable() const { return mPickable; }
    ChildListNode* getParent() const { return mParent; }
    void setParent(ChildListNode* parent) { mParent = parent; }
    void setWord(uint32_t word) { mWord = word; }
    const std::vector<ChildListNode*>& getChildren() const { return mChildren; }

    ChildListNode* mParent = nullptr;
    std::vector<ChildListNode*> mChildren;
    // An inactive node is neither drawn nor picked, nor are its children.
    bool mActive = true;
    // Picking enters only pickable nodes (and the root is pickable).
    bool mPickable = false;
    uint32_t mWord = 0;
    Transform3D mTransform;

private:
    void removeChild(ChildListNode* child);
};
