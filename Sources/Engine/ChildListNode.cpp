#include "Engine/ChildListNode.h"

#include "Engine/Engine3D.h"

#include <algorithm>

ChildListNode::ChildListNode()
{
    if (Engine3D* engine = Engine3D::current())
        engine->addToScene(this);
}

ChildListNode::~ChildListNode()
{
    if (mParent != nullptr)
        mParent->removeChild(this);
    for (ChildListNode* child : mChildren)
        child->mParent = nullptr;
}

void ChildListNode::removeChild(ChildListNode* child)
{
    auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found != mChildren.end())
        mChildren.erase(found);
}

ErrorCode ChildListNode::onLostDevice()
{
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (ErrorCode code = mChildren[i]->onLostDevice())
            return code;
    }
    return ERROR_OK;
}

ErrorCode ChildListNode::onResetDevice()
{
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (ErrorCode code = mChildren[i]->onResetDevice())
            return code;
    }
    return ERROR_OK;
}

ErrorCode ChildListNode::render()
{
    if (!mActive)
        return ERROR_OK;
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        ChildListNode* child = mChildren[i];
        if (!child->mActive)
            continue;
        child->mTransform.enter();
        ErrorCode code = child->render();
        child->mTransform.leave();
        if (code)
            return code;
    }
    return ERROR_OK;
}

ErrorCode ChildListNode::pick(PickResult* result)
{
    if (!mActive || !mPickable)
        return ERROR_OK;
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        ChildListNode* child = mChildren[i];
        if (!child->mActive || !child->mPickable)
            continue;
        child->mTransform.enter();
        ErrorCode code = child->pick(result);
        child->mTransform.leave();
        if (code)
            return code;
    }
    return ERROR_OK;
}

void ChildListNode::addChild(ChildListNode* child)
{
    if (child == nullptr)
        return;
    // A node under its own descendant would make the walks endless.
    for (const ChildListNode* node = this; node != nullptr; node = node->mParent)
    {
        if (node == child)
            return;
    }
    if (child->mParent != nullptr)
        child->mParent->removeChild(child);
    mChildren.push_back(child);
    child->mParent = this;
}

ErrorCode ChildListNode::renderWithTransform()
{
    if (!mActive)
        return ERROR_OK;
    mTransform.enter();
    ErrorCode code = render();
    mTransform.leave();
    return code;
}

ErrorCode ChildListNode::pickWithTransform(PickResult* result)
{
    if (!mActive || !mPickable)
        return ERROR_OK;
    mTransform.enter();
    ErrorCode code = pick(result);
    mTransform.leave();
    return code;
}

void ChildListNode::moveChildToBack(ChildListNode* child)
{
    auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found == mChildren.end())
        return;
    mChildren.erase(found);
    mChildren.push_back(child);
}

void ChildListNode::moveChildToFront(ChildListNode* child)
{
    auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found == mChildren.end())
        return;
    mChildren.erase(found);
    mChildren.insert(mChildren.begin(), child);
}

void ChildListNode::localToWorld(const Platform::Vector3& in, Platform::Vector3* out) const
{
    mTransform.localToParent(in, out);
    for (const ChildListNode* node = mParent; node != nullptr; node = node->mParent)
        node->mTransform.localToParent(*out, out);
}
