#pragma once
// The toolkit's dialog for choosing a file on disk to open or to save: a
// folder field, a list of the folder's subfolders and matching files, a name
// field and, with several filters, a filter choice. A double click or OK goes
// into a folder or accepts a file; saving over an existing file asks first;
// opening a missing file says so. The folder is absolute and always ends in
// a separator; a game folder given relative to the program (data\saves\)
// starts the dialog where that folder really is, so ".." leads up to the root.
#include "Framework/Timer.h"
#include "Gui/ComboBox.h"
#include "Gui/ContainerLift.h"
#include "Gui/Dialog.h"
#include "Gui/TextField.h"
#include "Gui/WrapTextBox.h"

#include <functional>
#include <string>
#include <vector>

class FileDialog : public Dialog
{
public:
    using ResultCallback = std::function<void(FileDialog* dialog, uint32_t userValue)>;

    struct Filter
    {
        // Lower case, each beginning with the dot; an empty one matches any file.
        std::vector<std::string> extensions;
        std::string name;
        std::string label;
        uint32_t iconId = 0;
    };

    struct Entry
    {
        std::string name;
        bool isFolder = false;
    };

    static constexpr uint32_t DOUBLE_CLICK_MS = 500;
    static constexpr uint32_t FOLDER_ICON = 0;

    FileDialog(const std::string& title, int32_t width, int32_t height, const std::string& folder,
               bool saveMode, ResultCallback callback, uint32_t userValue);
    ~FileDialog() override;

    // Selects the first filter, lists the folder, then opens the layer.
    ErrorCode open() override;
    // OK validates the name; Annuler empties it, calls back and closes.
    void onResult(uint32_t buttonBits) override;

    void addFilter(const std::vector<std::string>& extensions, const std::string& name, uint32_t iconId);
    // "name (*.a, *.*)".
    static std::string makeFilterLabel(const std::string& name, const std::vector<std::string>& extensions);
    void selectFilter(uint32_t index);
    // Empty when no name is given; without an extension the current filter's
    // first one is added.
    std::string getFilePath() const;
    // Goes into a folder, or accepts (or asks about) a file.
    void validate(const std::string& name);
    // A click on row i of the list (the list's selection); a second one on
    // the same row within 500 ms validates.
    void clickRow(uint32_t index);
    void listFolder();
    // Goes to a folder and lists it.
    void setFolder(const std::string& folder);

    // The name field's text; setting it puts the caret at its end.
    void setName(const std::string& name);
    std::string getName() const { return mNameField->getText(); }
    const std::string& getFolder() const { return mFolder; }
    const std::vector<Entry>& getEntries() const { return mEntries; }
    const std::vector<Filter>& getFilters() const { return mFilters; }
    uint32_t getFilterIndex() const { return mFilterIndex; }
    bool isSaveMode() const { return mSaveMode; }
    // The path handed to the callback when a file was accepted.
    const std::string& getAcceptedPath() const { return mAcceptedPath; }
    bool isFilterChoiceShown() const { return mFilterShown; }
    ContainerLift* getList() const { return mList; }
    TextField* getFolderField() const { return mFolderField; }
    TextField* getNameField() const { return mNameField; }
    ComboBox* getFilterChoice() const { return mFilterChoice; }

    // Why a name cannot be saved under ("/" in it, empty, longer than the
    // file system takes); empty when it can.
    std::string checkSaveName(const std::string& name) const;

private:
    void accept();
    void askReplace();
    bool matchesFilter(const std::string& fileName) const;
    void addRow(const Entry& entry);
    // The folder as typed or chosen, with its trailing separator.
    void storeFolder(const std::string& folder);

    std::vector<Filter> mFilters;
    uint32_t mFilterIndex = 0;
    std::string mFolder;
    WrapTextBox* mBox = nullptr;
    TextField* mFolderField = nullptr;
    ContainerLift* mList = nullptr;
    TextField* mNameField = nullptr;
    Label* mFilterCaption = nullptr;
    ComboBox* mFilterChoice = nullptr;
    std::vector<Entry> mEntries;
    bool mSaveMode;
    bool mFilterShown = false;
    std::string mAcceptedPath;
    int32_t mLastRow = -1;
    Timer mClickTimer;
    ResultCallback mCallback;
    uint32_t mUserValue;
};
