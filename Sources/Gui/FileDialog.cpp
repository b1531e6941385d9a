#include "Gui/FileDialog.h"

#include "Framework/LangTable.h"
#include "Framework/Text1252Literal.h"
#include "Gui/Image.h"
#include "Platform/System/Paths.h"
#include "Platform/System/Text1252.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

FileDialog::FileDialog(const std::string& title, int32_t width, int32_t height, const std::string& folder,
                       bool saveMode, ResultCallback callback, uint32_t userValue)
    : Dialog(width, height, title, 9, false, true, LOOK_DIALOG), mSaveMode(saveMode),
      mCallback(std::move(callback)), mUserValue(userValue)
{
    // The folder is shown and walked from where it really is, so that ".."
    // can go up from it to the root; a game folder such as data\saves\ is
    // the user's own copy, made when missing.
    std::string start = folder.empty() || isSeparator(folder.back()) ? folder : folder + '\\';
    storeFolder(Platform::isAbsolutePath(start)
                    ? start
                    : Platform::toProgramPath(Platform::mapPathForWriting(start)));
    WrapTextStyle style;
    style.fontId = mLook->textFont;
    style.color = mLook->textColor;
    Rect boxRect{getContentLeft(), getContentTop(), getContentWidth(), getContentHeight()};
    mBox = new WrapTextBox(boxRect, LOOK_EMPTY);
    mBox->setLineSpacing(mLook->spacing / 2);
    mFolderField =
        mBox->addLabeledTextField(style, getLangText(LANG_FILES_DIRECTORY_TEXT), 1024, 150, 0, WRAP_FLOW);
    mFolderField->setText(mFolder);
    mFolderField->onChange.mFunction = [this](Component*, uint32_t)
    {
        storeFolder(mFolderField->getText());
        listFolder();
    };
    mBox->newLine();
    Font* font = findFont(style.fontId);
    int32_t lineHeight = font != nullptr ? font->getLineHeight() : 16;
    int32_t listHeight = std::max(boxRect.height - 3 * (lineHeight + mBox->getLineHeight()), lineHeight);
    mList = new ContainerLift(0, 0, mBox->getInnerWidth(), listHeight, LOOK_COMBO_BOX, 2);
    mList->onSelect.mFunction = [this](Component*, uint32_t)
    {
        if (mList->getSelectedIndex() >= 0)
            clickRow(static_cast<uint32_t>(mList->getSelectedIndex()));
    };
    mBox->placeComponent(mList, WRAP_FLOW);
    mBox->newLine();
    mNameField = mBox->addLabeledTextField(style, getLangText(LANG_FILES_FILE_TEXT), 1024, 150, 0, WRAP_FLOW);
    mBox->newLine();
    mFilterCaption = mBox->addWord(getLangText(LANG_FILES_FILTER_TEXT), style, WRAP_FLOW);
    int32_t captionStart = mBox->getRunningX() - mFilterCaption->getWidth();
    int32_t choiceX = std::max(captionStart + 150, mBox->getRunningX());
    mFilterChoice = new ComboBox(0, 0, std::max(mBox->getInnerWidth() - choiceX, 0), lineHeight, 2,
                                 findFont(style.fontId));
    mFilterChoice->onChange.mFunction = [this](Component*, uint32_t)
    {
        if (mFilterChoice->getSelectedIndex() >= 0)
            selectFilter(static_cast<uint32_t>(mFilterChoice->getSelectedIndex()));
    };
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
    mFilterChoice->addItem(filter.label);
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
    mFilterChoice->setSelectedIndex(0);
    selectFilter(0);
    return Dialog::open();
}

void FileDialog::selectFilter(uint32_t index)
{
    if (!mFilters.empty())
        mFilterIndex = std::min<uint32_t>(index, static_cast<uint32_t>(mFilters.size()) - 1);
    listFolder();
}

void FileDialog::storeFolder(const std::string& folder)
{
    // A folder typed relative to the program is taken from there.
    mFolder = Platform::isAbsolutePath(folder) ? folder : Platform::toProgramPath(Platform::mapPath(folder));
    if (mFolder.empty() || !isSeparator(mFolder.back()))
        mFolder += mFolder.find('/') != std::string::npos ? '/' : '\\';
}

void FileDialog::setFolder(const std::string& folder)
{
    storeFolder(folder);
    mFolderField->setText(mFolder);
    listFolder();
}

void FileDialog::setName(const std::string& name)
{
    mNameField->setText(name);
    mNameField->setCaret(static_cast<int32_t>(name.size()), false);
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
    mList->select(-1);
    mList->clear();
    mClickTimer.start();
    // The search of a folder other than a root returns ".." first, which
    // leads up; "." is never listed.
    if (!isRoot(mFolder))
        mEntries.push_back({"..", true});
    for (const Platform::DirectoryEntry& found : Platform::listDirectory(Platform::mapPath(mFolder)))
    {
        // A pipe or a device named like a save is no save: opening one could
        // hold the game until something writes to it.
        if (found.isDirectory || (found.isRegularFile && matchesFilter(found.name)))
            mEntries.push_back({found.name, found.isDirectory});
    }
    for (const Entry& entry : mEntries)
        addRow(entry);
}

void FileDialog::addRow(const Entry& entry)
{
    Font* font = findFont(mLook->textFont);
    int32_t rowHeight = font != nullptr ? font->getLineHeight() : 16;
    int32_t rowWidth = mList->getContent()->getWidth() - mList->getContent()->getMarginLeft() -
                       mList->getContent()->getMarginRight();
    rowWidth = std::max(rowWidth, rowHeight);
    uint32_t icon = entry.isFolder ? FOLDER_ICON : mFilters.empty() ? 0 : mFilters[mFilterIndex].iconId;
    auto* row = new Container(0, 0, rowWidth, rowHeight, LOOK_EMPTY);
    row->addChild(std::make_unique<Image>(0, 0, rowHeight, rowHeight, icon));
    row->addChild(std::make_unique<Label>(rowHeight, 0, rowWidth - rowHeight, rowHeight, entry.name,
                                          mLook->textColor, 0, font));
    mList->addRow(row);
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
    std::string name = getName();
    if (name.empty())
        return std::string();
    std::string path = mFolder + name;
    if (extensionOf(name).empty() && !mFilters.empty() && !mFilters[mFilterIndex].extensions.empty())
        path += mFilters[mFilterIndex].extensions.front();
    return path;
}

std::string FileDialog::checkSaveName(const std::string& name) const
{
    if (name.empty())
        return TEXT_1252("Indiquez le nom du fichier à enregistrer.");
    // A separator would make the name a path into folders that may not be
    // there; ".." alone still goes up.
    for (char c : name)
        if (isSeparator(c))
            return std::string(TEXT_1252("Le nom du fichier ne peut pas contenir le caractère ")) + c + ".";
    std::string file = name;
    if (extensionOf(name).empty() && !mFilters.empty() && !mFilters[mFilterIndex].extensions.empty())
        file += mFilters[mFilterIndex].extensions.front();
    // The file system counts the bytes of the name as it stores it.
    long longest = ::pathconf(Platform::mapPath(mFolder).c_str(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    if (static_cast<long>(Platform::cp1252ToUtf8(file).size()) > longest)
        return std::string(TEXT_1252("Le nom du fichier est trop long : ")) + std::to_string(longest) +
               TEXT_1252(" caractères au plus, extension comprise.");
    return std::string();
}

void FileDialog::validate(const std::string& name)
{
    if (mSaveMode && name != "..")
    {
        // Refused here, before anything is written, with the reason.
        const std::string refusal = checkSaveName(name);
        const bool intoFolder = !name.empty() && isFolderOnDisk(mFolder + name);
        if (!refusal.empty() && !intoFolder)
        {
            showLayer(std::make_unique<MessageDialog>(getLangText(0), refusal, 1, nullptr, nullptr));
            return;
        }
    }
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
        validate(getName());
    }
    else if (buttonBits == 8)
    {
        setName(std::string());
        accept();
    }
}
