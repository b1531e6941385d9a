#include "Gui/FileDialog.h"

#include "Framework/LangTable.h"
#include "Platform/System/Paths.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

namespace
{

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isFolderOnDisk(const std::string& path)
{
    struct stat info = {};
    return stat(Platform::mapPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFileOnDisk(const std::string& path)
{
    struct stat info = {};
    return stat(Platform::mapPath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// The extension from the last dot of the last path component, dot included.
std::string extensionOf(const std::string& name)
{
    size_t dot = name.find_last_of('.');
    size_t separator = name.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return std::string();
    return name.substr(dot);
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A root has nothing above it: "\", "/", "C:\".
bool isRoot(const std::string& folder)
{
    return folder.size() <= 1 || (folder.size() == 3 && folder[1] == ':');
}

// A row of the list: the entry's name; a press tells the dialog.
class FileDialogRow final : public Container
{
public:
    FileDialogRow(FileDialog* dialog, uint32_t index, int32_t width, int32_t height, const std::string& name)
        : Container(0, 0, width, height, LOOK_EMPTY), mDialog(dialog), mIndex(index)
    {
        addChild(new Label(height, 0, std::max(width - height, 0), height, name, 0xFF000000, 0));
    }
    uint32_t onMouseEvent(const MouseEvent& event) override
    {
        if (uint32_t result = Container::onMouseEvent(event))
            return result;
        if (event.mType != MOUSE_EVENT_BUTTON_DOWN || event.mButton != MOUSE_BUTTON_LEFT ||
            !containsPoint(event))
            return 0;
        mDialog->clickRow(mIndex);
        return 1;
    }

private:
    FileDialog* mDialog;
    uint32_t mIndex;
};

} // namespace

FileDialog::FileDialog(const std::string& title, int32_t width, int32_t height, const std::string& folder,
                       bool saveMode, ResultCallback callback, uint32_t userValue)
    : Dialog(width, height, title, 9, false, true, LOOK_DIALOG), mFolder(folder), mSaveMode(saveMode),
      mCallback(std::move(callback)), mUserValue(userValue)
{
    if (mFolder.empty() || !isSeparator(mFolder.back()))
        mFolder += '\\';
    WrapTextStyle style;
    style.fontId = mLook->textFont;
    style.color = mLook->textColor;
    Rect boxRect{getContentLeft(), getContentTop(), getContentWidth(), getContentHeight()};
    mBox = new WrapTextBox(boxRect, LOOK_EMPTY);
    mBox->setLineSpacing(mLook->spacing / 2);
    mFolderField =
        mBox->addLabeledTextField(style, getLangText(LANG_FILES_DIRECTORY_TEXT), 1024, 150, 0, WRAP_FLOW);
    mBox->newLine();
    Font* font = findFont(style.fontId);
    int32_t lineHeight = font != nullptr ? font->getLineHeight() : 16;
    int32_t listHeight = std::max(boxRect.height - 3 * (lineHeight + mBox->getLineHeight()), lineHeight);
    mList = new Container(0, 0, mBox->getInnerWidth(), listHeight, LOOK_EMPTY);
    mBox->placeComponent(mList, WRAP_FLOW);
    mBox->newLine();
    mNameField = mBox->addLabeledTextField(style, getLangText(LANG_FILES_FILE_TEXT), 1024, 150, 0, WRAP_FLOW);
    mBox->newLine();
    mFilterCaption = mBox->addWord(getLangText(LANG_FILES_FILTER_TEXT), style, WRAP_FLOW);
    mFilterChoice = new Component(0, 0, std::max(mBox->getInnerWidth() - 150, 0), lineHeight);
    mBox->placeComponent(mFilterChoice, WRAP_FLOW);
    mFilterCaption->setVisible(false);
    mFilterChoice->setVisible(false);
    addChild(mBox);
    mClickTimer.start();
}

FileDialog::~FileDialog() = default;

std::string FileDialog::makeFilterLabel(const std::string& name, const std::vector<std::string>& extensions)
{
    std::string label = name + " (";
    for (size_t i = 0; i < extensions.size(); ++i)
    {
        if (i > 0)
            label += ", ";
        label += extensions[i].empty() ? "*.*" : "*" + extensions[i];
    }
    return label + ")";
}

void FileDialog::addFilter(const std::vector<std::string>& extensions, const std::string& name,
                           uint32_t iconId)
{
    Filter filter;
    filter.extensions = extensions;
    filter.name = name;
    filter.label = makeFilterLabel(name, extensions);
    filter.iconId = iconId;
    mFilters.push_back(std::move(filter));
    if (mFilters.size() >= 2)
    {
        mFilterShown = true;
        mFilterCaption->setVisible(true);
        mFilterChoice->setVisible(true);
    }
}

ErrorCode FileDialog::open()
{
    selectFilter(0);
    return Dialog::open();
}

void FileDialog::selectFilter(uint32_t index)
{
    if (!mFilters.empty())
        mFilterIndex = std::min<uint32_t>(index, static_cast<uint32_t>(mFilters.size()) - 1);
    listFolder();
}

void FileDialog::setFolder(const std::string& folder)
{
    mFolder = folder;
    if (mFolder.empty() || !isSeparator(mFolder.back()))
        mFolder += '\\';
    listFolder();
}

void FileDialog::setName(const std::string& name)
{
    mName = name;
}

bool FileDialog::matchesFilter(const std::string& fileName) const
{
    // Without filters every file is listed.
    if (mFilters.empty())
        return true;
    const Filter& filter = mFilters[mFilterIndex];
    std::string extension = lowerCase(extensionOf(fileName));
    for (const std::string& wanted : filter.extensions)
    {
        if (wanted.empty() || wanted == extension)
            return true;
    }
    return false;
}

void FileDialog::listFolder()
{
    setName(std::string());
    mLastRow = -1;
    mEntries.clear();
    mList->deleteAllChildren();
    mClickTimer.start();
    // The search of a folder other than a root returns ".." first, which
    // leads up; "." is never listed.
    if (!isRoot(mFolder))
        mEntries.push_back({"..", true});
    for (const Platform::DirectoryEntry& found : Platform::listDirectory(Platform::mapPath(mFolder)))
    {
        if (found.isDirectory || matchesFilter(found.name))
            mEntries.push_back({found.name, found.isDirectory});
    }
    for (const Entry& entry : mEntries)
        addRow(entry);
}

void FileDialog::addRow(const Entry& entry)
{
    Font* font = findFont(mLook->textFont);
    int32_t rowHeight = font != nullptr ? font->getLineHeight() : 16;
    auto index = static_cast<uint32_t>(mList->getChildren().size());
    auto* row = new FileDialogRow(this, index, mList->getWidth(), rowHeight, entry.name);
    row->moveTo(0, static_cast<int32_t>(index) * rowHeight, false);
    mList->addChild(row);
}

void FileDialog::clickRow(uint32_t index)
{
    if (index >= mEntries.size())
        return;
    std::string name = mEntries[index].name;
    setName(name);
    bool second = mLastRow == static_cast<int32_t>(index) && mClickTimer.getElapsed() <= DOUBLE_CLICK_MS;
    mLastRow = static_cast<int32_t>(index);
    mClickTimer.start();
    if (second)
        validate(name);
}

std::string FileDialog::getFilePath() const
{
    if (mName.empty())
        return std::string();
    std::string path = mFolder + mName;
    if (extensionOf(mName).empty() && !mFilters.empty() && !mFilters[mFilterIndex].extensions.empty())
        path += mFilters[mFilterIndex].extensions.front();
    return path;
}

void FileDialog::validate(const std::string& name)
{
    if (name.empty())
        return;
    if (name == "..")
    {
        if (isRoot(mFolder))
            return;
        // A relative folder of one component has no parent to go to.
        size_t cut = mFolder.find_last_of("\\/", mFolder.size() - 2);
        if (cut != std::string::npos)
            setFolder(mFolder.substr(0, cut + 1));
        return;
    }
    std::string path = mFolder + name;
    if (isFolderOnDisk(path))
    {
        setFolder(path);
        return;
    }
    if (extensionOf(name).empty() && !mFilters.empty() && !mFilters[mFilterIndex].extensions.empty())
    {
        path += mFilters[mFilterIndex].extensions.front();
        if (isFolderOnDisk(path))
        {
            setFolder(path);
            return;
        }
    }
    setName(name);
    if (isFileOnDisk(path))
    {
        if (mSaveMode)
            askReplace();
        else
            accept();
        return;
    }
    if (mSaveMode)
    {
        accept();
        return;
    }
    auto* message = new MessageDialog(getLangText(0), getLangText(LANG_FILENOTFOUND), 1, nullptr, nullptr);
    message->open();
}

void FileDialog::askReplace()
{
    auto* question = new MessageDialog(
        getLangText(LANG_WARNING), getLangText(LANG_ASK_FOR_REPLACEMENT), 14,
        [this](MessageDialog* dialog, void*)
        {
            uint32_t answer = dialog->getResult();
            if (answer == 2)
            {
                accept();
            }
            else if (answer == 4)
            {
                setName(std::string());
                accept();
            }
        },
        nullptr);
    question->open();
}

void FileDialog::accept()
{
    mAcceptedPath = getFilePath();
    if (mCallback)
        mCallback(this, mUserValue);
    close();
}

void FileDialog::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
    {
        validate(mName);
    }
    else if (buttonBits == 8)
    {
        setName(std::string());
        accept();
    }
}
