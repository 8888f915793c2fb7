// The extraction driver: every entry record of the container goes to the
// engine's unzip function 10, which reads it piece by piece through
// ContainerMemoryIo and writes the member into its target when none is there
// yet, else into a temporary file beside it; an existing target is replaced
// only when the entry came out whole, and the file then takes the entry's
// time and read-only attribute.
#include "ContainerFile.h"
#include "ExtractCallback.h"
#include "JobResultText.h"
#include "LocalFileTime.h"
#include "MySecureContainerJob.h"
#include "ProgramChecksum.h"
#include "StubMessages.h"
#include "StubPaths.h"
#include "UnzipApi.h"
#include "stub_resource.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The system's code of the runtime's last failed file call; never 0, so a
// failure stays one even when the runtime kept no code.
DWORD WriteErrorCode() {
    const DWORD code = static_cast<DWORD>(_doserrno);
    return code != 0 ? code : ERROR_WRITE_FAULT;
}

// The cause of a failed write as the user is told it; other codes are told
// with the engine's text for an output that cannot be made.
struct WriteCause {
    DWORD error;
    UINT text;
    int result;
};
constexpr int kResultCannotCreate = 28;
constexpr int kResultDiskFull = 50;
const WriteCause kWriteCauses[] = {
    {ERROR_DISK_FULL, IDS_CANNOT_WRITE_DISK_FULL, kResultDiskFull},
    {ERROR_HANDLE_DISK_FULL, IDS_CANNOT_WRITE_DISK_FULL, kResultDiskFull},
    {ERROR_ACCESS_DENIED, IDS_CANNOT_WRITE_READ_ONLY, kResultCannotCreate},
    {ERROR_WRITE_PROTECT, IDS_CANNOT_WRITE_READ_ONLY, kResultCannotCreate},
    {ERROR_FILENAME_EXCED_RANGE, IDS_CANNOT_WRITE_TOO_LONG, kResultCannotCreate},
};

// The time a record gives its file or folder; false when it holds none.
bool RecordTime(const ContainerRecord& record, FILETIME& time) {
    FILETIME local;
    return DosDateTimeToFileTime(record.dosDate, record.dosTime, &local) && FileTimeOfLocalFileTime(local, &time);
}

// What the memory callback reads from and writes to for one entry.
struct EntryIo {
    ContainerFile* container;
    const ContainerRecord* record;
    FILE* output;
    uint64_t written;   // bytes of the member written
    bool overrun;       // the engine gave more than the record's data size
    DWORD writeError;   // the system's code for a failed write, else 0
};

void CALLBACK ContainerMemoryIo(int operation, unsigned char* buffer, uint32_t* length, uint32_t inLow,
                                uint32_t inHigh, uint32_t, uint32_t, void* data, int* status) {
    auto* io = static_cast<EntryIo*>(data);
    const uint64_t dataSize = io->record->header.dataSize;
    switch (operation) {
    case kMemoryIoRead: {
        const uint64_t position = (static_cast<uint64_t>(inHigh) << 32) | inLow;
        const uint64_t size = io->record->header.recordLength;
        const uint64_t left = position < size ? size - position : 0;
        *status = *length < left ? kMemoryIoMore : kMemoryIoLast;
        if (*length > left)
            *length = static_cast<uint32_t>(left);
        if (*length > 0 && !io->container->ReadEntryBytes(*io->record, position, buffer, *length))
            *status = kMemoryIoFailed;
        return;
    }
    case kMemoryIoWrite:
    case kMemoryIoHandOver: {
        // Writes are sequential: the count of bytes written is the position.
        const uint64_t left = dataSize - io->written;
        *status = kMemoryIoMore;
        if (*length > left) {
            io->overrun = true;
            *length = static_cast<uint32_t>(left);
            *status = kMemoryIoLast;
        }
        break;
    }
    default:
        return;
    }
    if (*length > 0 && std::fwrite(buffer, 1, *length, io->output) != *length) {
        io->writeError = WriteErrorCode();
        *status = kMemoryIoFailed;
    }
    io->written += *length;
}

// A new file written in place, or one that replaces an existing file
// written under a temporary name beside it; a file that does not come out
// whole is removed either way.
class EntryOutput {
public:
    ~EntryOutput() { Discard(); }
    bool Create(const std::wstring& target) {
        // Most targets are new: created only where nothing is there, they
        // need no temporary name, whose search and final move cost far more
        // than the write under Wine.
        const int created = _wopen(target.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (created >= 0) {
            m_temporary = target;
            m_inPlace = true;
            m_file = _wfdopen(created, L"wb");
            if (m_file == nullptr)
                _close(created);
            return Opened();
        }
        if (!IsExistingFile(target)) {
            m_error = WriteErrorCode();
            return false;
        }
        wchar_t name[MAX_PATH];
        if (!GetTempFileNameW(GetFolderOfPath(target).c_str(), L"bx", 0, name)) {
            m_error = GetLastError();
            return false;
        }
        m_temporary = name;
        m_file = _wfopen(name, L"wb");
        return Opened();
    }
    // The system's code of the last failure.
    DWORD Error() const { return m_error; }
    FILE* File() const { return m_file; }
    // Puts the file in place with the entry's time and read-only bit.
    bool Commit(const std::wstring& target, const ContainerRecord& record) {
        // Dated through the open stream once it is flushed: closing writes
        // nothing more, and opening the file again would cost two calls to
        // the server under Wine for each entry.
        const bool written = std::fflush(m_file) == 0 && SetTime(record);
        if (!written)
            m_error = WriteErrorCode();
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (written && !closed)
            m_error = WriteErrorCode();
        if (!written || !closed)
            return false;
        if (record.externalAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(m_temporary.c_str(), FILE_ATTRIBUTE_READONLY);
        if (m_inPlace) {
            m_temporary.clear();
            return true;
        }
        // The user agreed to replace the file: a read-only one too.
        const DWORD existing = GetFileAttributesW(target.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
        if (!MoveFileExW(m_temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            m_error = GetLastError();
            return false;
        }
        m_temporary.clear();
        return true;
    }
    void Discard() {
        if (m_file != nullptr)
            std::fclose(m_file);
        m_file = nullptr;
        if (!m_temporary.empty()) {
            SetFileAttributesW(m_temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(m_temporary.c_str());
        }
        m_temporary.clear();
    }

private:
    bool Opened() {
        if (m_file == nullptr)
            m_error = WriteErrorCode();
        return m_file != nullptr;
    }
    bool SetTime(const ContainerRecord& record) const {
        FILETIME time;
        if (!RecordTime(record, time))
            return true;  // a record without a valid time keeps the time of writing
        const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(m_file)));
        return file != INVALID_HANDLE_VALUE && SetFileTime(file, &time, &time, &time) != 0;
    }

    FILE* m_file = nullptr;
    std::wstring m_temporary;  // the file being written, until it is in place
    bool m_inPlace = false;    // written under the target's own name
    DWORD m_error = 0;
};

// Gives a folder the time of its record. Run once everything inside it is
// written, since each file made in a folder moves its time on.
void SetFolderTime(const std::wstring& folder, const FILETIME& time) {
    HANDLE handle = CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    SetFileTime(handle, &time, &time, &time);
    CloseHandle(handle);
}

bool IsFolderName(const std::string& name) {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// Whether the first length bytes of the program give the checksum its
// integrity line recorded.
bool MatchesChecksum(const char* path, uint64_t length, const std::string& checksum) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    return file && ChecksumOfFilePrefix(file.get(), length) == checksum;
}

// Why an entry was not extracted: the driver's result and the words the
// user is told (empty for a failure the stub has no words for).
struct Failure {
    int result = 0;
    std::string message;
    bool retryDefaultsToNo = false;
};

class ContainerExtraction {
public:
    explicit ContainerExtraction(const ExtractRequest& request)
        : m_request(request), m_job(request.instance, request.owner, CMySecureContainerJob::kStub) {
        m_job.recreateFolders = request.recreateFolders;
        m_job.overwriteMode =
            request.overwrite ? CMySecureContainerJob::kOverwriteAll : CMySecureContainerJob::kOverwriteAsk;
    }
    ~ContainerExtraction() { SecureZeroMemory(m_password, sizeof m_password); }

    int Run();

private:
    enum class Step { Next, Stop };

    int Report(UINT code, const char* name, char* buffer, uint64_t value, DWORD count) {
        return m_request.callback(code, name, buffer, static_cast<DWORD>(value),
                                  static_cast<DWORD>(value >> 32), count, 0, m_request.owner);
    }
    int Report(UINT code, const std::wstring& name, uint64_t value) {
        return Report(code, AnsiFromWide(name).c_str(), nullptr, value, 0);
    }
    bool Ask(const std::string& text, bool defaultNo) {
        return m_request.ask != nullptr && m_request.ask(m_request.owner, text.c_str(), defaultNo) == IDYES;
    }
    std::string Text(UINT id) const { return LoadStubString(m_request.instance, id); }
    Failure Told(int result, UINT textId, const std::wstring& name, const char* cause = nullptr) const {
        return {result, FillTextArguments(Text(textId), {AnsiFromWide(name).c_str(), cause}),
                result == kResultDiskFull};
    }
    Failure WriteFailure(DWORD error, const std::wstring& target) const;
    Failure EngineFailure(int result, const std::wstring& target) const;
    bool IsIntact() const;
    bool AskPassword();
    int ExtractAll();
    int ExtractContainer();
    Step ExtractRecord(const ContainerRecord& record);
    Step Refuse(const Failure& failure, const std::wstring& name);
    Step Done(UINT code, const std::wstring& name);
    Step MakeFolder(const std::wstring& target, const ContainerRecord& record);
    Step ExtractFile(const std::wstring& target, const ContainerRecord& record);
    bool Retry(const Failure& failure);
    Failure WriteEntry(const std::wstring& target, const ContainerRecord& record);
    int RunEngine(const ContainerRecord& record, FILE* output, DWORD& writeError);
    void SetFolderTimes() const;

    void KeepHeader(const ContainerHeader& header);

    const ExtractRequest& m_request;
    CMySecureContainerJob m_job;
    ContainerFile m_container;
    char m_password[kPasswordBufferLength] = {};
    uint64_t m_index = 0;
    bool m_anyDone = false;    // an entry ended as it should: written, or skipped at the user's answer
    bool m_broken = false;     // the container ends in damage
    Failure m_failure;         // the first entry that failed, or the one that stopped the extraction
    std::vector<std::pair<std::wstring, FILETIME>> m_folderTimes;
    int m_result = kExtractFailed;
};

// The cause of a failed write in the user's words.
Failure ContainerExtraction::WriteFailure(DWORD error, const std::wstring& target) const {
    for (const WriteCause& cause : kWriteCauses)
        if (cause.error == error)
            return Told(cause.result, cause.text, target);
    return Told(kResultCannotCreate, IDS_CANNOT_EXTRACT, target, JobResultText(kResultCannotCreate));
}

Failure ContainerExtraction::EngineFailure(int result, const std::wstring& target) const {
    const char* text = JobResultText(result);
    if (*text == '\0')
        return {result, std::string(), false};
    return Told(result, IDS_CANNOT_EXTRACT, target, text);
}

// Asks until a password of at least one character comes back; false when
// the user gave none.
bool ContainerExtraction::AskPassword() {
    for (;;) {
        SecureZeroMemory(m_password, sizeof m_password);
        if (Report(kReportPasswordNeeded, nullptr, m_password, 0, 0) != 0)
            return false;
        m_password[kMaxPasswordLength] = '\0';
        if (m_password[0] != '\0')
            return true;
        Ask(Text(IDS_PASSWORD_EMPTY), false);
    }
}

int ContainerExtraction::RunEngine(const ContainerRecord& record, FILE* output, DWORD& writeError) {
    EntryIo io = {&m_container, &record, output, 0, false, 0};
    CALLBACKSTRUCT callbacks = {};
    callbacks.size = sizeof callbacks;
    callbacks.memoryIo = ContainerMemoryIo;
    callbacks.memoryIoData = &io;
    char enginePassword[kEnginePasswordLength + 1] = {};
    UNZIPCMDSTRUCT command = {};
    command.structSize = sizeof command;
    command.index = -1;
    command.Function = UNZIP_STREAM_ENTRY;
    command.lpCallbackStruct = &callbacks;
    command.quietFlag = 1;  // a failed entry is reported through the retry question
    if (record.header.kind != 0) {
        std::memcpy(enginePassword, m_password, strnlen(m_password, kEnginePasswordLength));
        command.decryptFlag = 1;
        command.lpszDecryptCode = enginePassword;
    }
    const int result = UnzipExecute(&command);
    SecureZeroMemory(enginePassword, sizeof enginePassword);
    writeError = io.writeError;
    // The record carries its data size: a member that decodes to another
    // length was damaged, whatever the engine made of it.
    if (result == 0 && (io.overrun || io.written != record.header.dataSize))
        return kEntryDamagedResult;
    return result;
}

// A failure that no retry mends: the entry is skipped, the rest goes on.
ContainerExtraction::Step ContainerExtraction::Refuse(const Failure& failure, const std::wstring& name) {
    if (m_failure.result == 0)
        m_failure = failure;
    return Done(kReportEntrySkipped, name);
}

// Reports an entry's end; the user may stop the extraction meanwhile.
ContainerExtraction::Step ContainerExtraction::Done(UINT code, const std::wstring& name) {
    if (Report(code, name, m_index) == 0)
        return Step::Next;
    m_failure = Failure();
    m_result = kExtractCancelled;
    return Step::Stop;
}

// Asks whether to try the failed entry again; No keeps the failure as the
// extraction's end.
bool ContainerExtraction::Retry(const Failure& failure) {
    const bool again = Ask(FillTextArgument(Text(IDS_RETRY_QUESTION), failure.message.c_str()),
                           failure.retryDefaultsToNo);
    if (!again) {
        m_failure = failure;
        m_result = failure.result;
    }
    return again;
}

ContainerExtraction::Step ContainerExtraction::MakeFolder(const std::wstring& target, const ContainerRecord& record) {
    while (CreateFolderPath(target) != 1) {
        if (!Retry(WriteFailure(GetLastError(), target)))
            return Step::Stop;
    }
    FILETIME time;
    if (RecordTime(record, time))
        m_folderTimes.emplace_back(target, time);
    m_anyDone = true;
    return Done(kReportEntryWritten, target);
}

// Writes one file: a failure leaves nothing of it behind.
Failure ContainerExtraction::WriteEntry(const std::wstring& target, const ContainerRecord& record) {
    if (CreateFolderPath(GetFolderOfPath(target)) != 1)
        return WriteFailure(GetLastError(), target);
    EntryOutput output;
    if (!output.Create(target))
        return WriteFailure(output.Error(), target);
    DWORD writeError = 0;
    const int result = RunEngine(record, output.File(), writeError);
    if (writeError != 0)
        return WriteFailure(writeError, target);
    if (result != 0)
        return EngineFailure(result, target);
    if (!output.Commit(target, record))
        return WriteFailure(output.Error(), target);
    return Failure();
}

ContainerExtraction::Step ContainerExtraction::ExtractFile(const std::wstring& target, const ContainerRecord& record) {
    if (m_job.overwriteMode != CMySecureContainerJob::kOverwriteAll && IsExistingFile(target)) {
        m_job.overwriteMode = Report(kReportFileExists, AnsiFromWide(target).c_str(), nullptr, 0, 0);
        if (m_job.overwriteMode == kAnswerCancel) {
            m_result = kExtractCancelled;
            return Step::Stop;
        }
        if (m_job.overwriteMode != kAnswerYes && m_job.overwriteMode != kAnswerAll) {
            m_anyDone = true;
            return Done(kReportEntrySkipped, target);
        }
    }
    for (;;) {
        const Failure failure = WriteEntry(target, record);
        if (failure.result == 0) {
            m_anyDone = true;
            return Done(kReportEntryWritten, target);
        }
        if (!Retry(failure))
            return Step::Stop;
        if (m_job.passwordSet && !AskPassword()) {
            m_failure = Failure();
            m_result = kExtractFailed;
            return Step::Stop;
        }
    }
}

ContainerExtraction::Step ContainerExtraction::ExtractRecord(const ContainerRecord& record) {
    const bool folder = IsFolderName(record.name);
    // Without folders a folder record has nothing to make.
    if (folder && !m_job.recreateFolders) {
        m_anyDone = true;
        return Step::Next;
    }
    const bool utf8 = (record.flags & kEntryUtf8NameFlag) != 0;
    const std::wstring target = JoinFolderAndStoredName(m_request.destination, record.name, utf8,
                                                        m_job.recreateFolders != 0);
    if (target.empty()) {
        const std::wstring name = WideFromStoredName(record.name, utf8);
        return Refuse(Told(kExtractFailed, IDS_NAME_REFUSED, name), name);
    }
    if (target.size() > kStubMaxPath)
        return Refuse(Told(kResultCannotCreate, IDS_CANNOT_WRITE_TOO_LONG, target), target);
    return folder ? MakeFolder(target, record) : ExtractFile(target, record);
}

void ContainerExtraction::SetFolderTimes() const {
    for (const auto& folder : m_folderTimes)
        SetFolderTime(folder.first, folder.second);
}

int ContainerExtraction::ExtractAll() {
    ContainerRecord record;
    for (;;) {
        const ContainerFile::Next next = m_container.ReadRecord(record);
        m_broken |= next == ContainerFile::Next::Broken;
        if (next != ContainerFile::Next::Record)
            break;
        if (ExtractRecord(record) == Step::Stop) {
            SetFolderTimes();
            return m_result;
        }
        ++m_index;
    }
    SetFolderTimes();
    if (m_failure.result != 0)
        return m_failure.result;
    return m_anyDone && !m_broken ? kExtractSuccess : kExtractFailed;
}

// The stub keeps the container's identity in its job; the key block is
// stepped over, the stub has no use for it.
void ContainerExtraction::KeepHeader(const ContainerHeader& header) {
    m_job.data1 = header.data1;
    m_job.data2 = header.data2;
    m_job.data3 = header.data3;
    m_job.entryCount = header.entryCount;
    std::memcpy(m_job.data4, header.data4, sizeof m_job.data4);
    m_job.keyBlockLength = header.keyBlockLength;
    m_job.passwordSet = header.magic == kContainerMagicProtected;
}

// A program whose settings are damaged, or whose bytes differ from its
// integrity line, is refused before anything is asked or written.
bool ContainerExtraction::IsIntact() const {
    if (m_request.settingsDamaged)
        return false;
    if (m_request.checksum == nullptr || *m_request.checksum == '\0')
        return true;
    return MatchesChecksum(m_request.programPath, m_request.checkedLength, m_request.checksum);
}

// 0 when the extraction ran to its end (its result in m_result); -1 when the
// user stopped it at the password step, which ends without a report.
int ContainerExtraction::ExtractContainer() {
    ContainerHeader header = {};
    if (!IsIntact()) {
        m_result = kExtractDamaged;
        return 0;
    }
    m_result = kExtractFailed;
    if (!m_container.Open(m_request.programPath, m_request.containerOffset, m_request.containerEnd) ||
        !m_container.ReadHeader(header))
        return 0;
    KeepHeader(header);
    Report(kReportEntryCount, nullptr, nullptr, 0, header.entryCount);
    if ((m_job.passwordSet && !AskPassword()) || Report(kReportEntryCount, nullptr, nullptr, 0, header.entryCount) != 0)
        return -1;
    m_result = ExtractAll();
    return 0;
}

int ContainerExtraction::Run() {
    if (m_request.programPath == nullptr || *m_request.programPath == '\0' || m_request.callback == nullptr)
        return kExtractFailed;
    if (!UnzipThreadInit(m_request.instance))
        return kExtractFailed;
    if (!UnzipThreadAttach()) {
        UnzipThreadTerm();
        return kExtractFailed;
    }
    bool report = true;
    try {
        report = ExtractContainer() == 0;
    } catch (...) {
        // Out of memory or any other failure ends the read, never the program.
        m_result = kExtractFailed;
    }
    UnzipThreadStateRelease();
    UnzipThreadTerm();
    if (!report)
        return kExtractFailed;
    Report(kReportFinished, m_failure.message.c_str(), nullptr, static_cast<uint32_t>(m_result), 0);
    return m_result;
}

}  // namespace

int ExtractSecureContainer(const ExtractRequest& request) {
    ContainerExtraction extraction(request);
    return extraction.Run();
}
