#include "shell/case_document.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "model/case_references.h"

CaseDocument::CaseDocument(QObject* parent)
    : QObject(parent), data_(std::make_unique<TCaseData>()), edit_(*data_, undo_)
{
    edit_.setUndoObserver([this](bool available) { emit undoAvailabilityChanged(available); });
    edit_.setRedoObserver([this](bool available) { emit redoAvailabilityChanged(available); });
    changedLater_.setSingleShot(true);
    changedLater_.setInterval(0);
    connect(&changedLater_, &QTimer::timeout, this, &CaseDocument::changed);
    edit_.setChangeObserver([this] {
        if (!changedLater_.isActive())
            changedLater_.start();
    });
}

CaseDocument::~CaseDocument() = default;

std::optional<CaseFileError> CaseDocument::load(const std::string& fileName)
{
    if (auto failure = loadCaseFile(fileName, *data_))
        return failure;
    data_->FileName = fileName;
    data_->Modified = false;
    // Positions past the end of their lists would name whatever entry is added next. Removing
    // them changes the case, so closing asks; it is no step to undo into the damaged state.
    danglingReferencesRemoved_ = removeDanglingReferences(*data_);
    if (danglingReferencesRemoved_ > 0)
        edit_.setModified();
    return std::nullopt;
}

CaseDocument::CopyScope::CopyScope(CaseDocument& document, TCaseData& copy) : document_(document), edit_(copy)
{
    Q_ASSERT(document.active_ == document.data_.get());
    document.active_ = &copy;
    document.activeEdit_ = &edit_;
}

CaseDocument::CopyScope::~CopyScope()
{
    document_.active_ = document_.data_.get();
    document_.activeEdit_ = &document_.edit_;
}
