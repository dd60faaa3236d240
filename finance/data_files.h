// The four data files: their creation with the exact fields, and how an open
// that failed is told apart — a missing file may be created, a file that is
// there but cannot be opened is never touched.
#pragma once

namespace tavrin::finance {

void CreateIncomeFile();
void CreateExpenseFile();
void CreateIncomeCategoryFile();
void CreateExpenseCategoryFile();

// OpenDatabase of a bare data-file name with every optional argument left out.
bool OpenDataFile(const char* gbkName);
// CloseDatabase without a name: the current database.
void CloseCurrentDatabase();

// A data file open for a scope: opened as the current database on
// construction, closed when the scope ends or at close(), whichever comes
// first. A handler closes it before telling the user of a failure, so that no
// file stays open behind a message box.
class OpenedDataFile {
  public:
    explicit OpenedDataFile(const char* gbkName) : open_(OpenDataFile(gbkName)) {}
    ~OpenedDataFile() { close(); }
    OpenedDataFile(const OpenedDataFile&) = delete;
    OpenedDataFile& operator=(const OpenedDataFile&) = delete;
    explicit operator bool() const { return open_; }
    void close() {
        if (open_) CloseCurrentDatabase();
        open_ = false;
    }

  private:
    bool open_;
};
// True when the name (GBK, relative to the current directory) is an existing file.
bool DataFileExists(const char* gbkName);
// Tells the user that the file exists but cannot be opened and is left as it is.
void ReportUnusableFile(const char* gbkName);
// Tells the user that the file could be neither opened nor created.
void ReportUncreatableFile(const char* gbkName);
// Tells the user that a record of the file could not be written, or not be
// found or read; the list and totals were left as they were.
void ReportWriteFailed(const char* gbkName);
void ReportAccessFailed(const char* gbkName);

}  // namespace tavrin::finance
