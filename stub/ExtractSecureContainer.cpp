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

namespace {

// What the memory callback reads from and writes to for one entry.
struct EntryIo {
    ContainerFile* container;
    const ContainerRecord* record;
    FILE* output;
    uint64_t written;   // bytes of the member written
    bool overrun;       // the engine gave more than the record's data size
    bool writeFailed;
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
        io->writeFailed = true;
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
            return m_file != nullptr;
        }
        wchar_t name[MAX_PATH];
        if (!GetTempFileNameW(GetFolderOfPath(target).c_str(), L"bx", 0, name))
            return false;
        m_temporary = name;
        m_file = _wfopen(name, L"wb");
        return m_file != nullptr;
    }
    FILE* File() const { return m_file; }
    // Puts the file in place with the entry's time and read-only bit.
    bool Commit(const std::wstring& target, const ContainerRecord& record) {
        // Dated through the open stream once it is flushed: closing writes
        // nothing more, and opening the file again would cost two calls to
        // the server under Wine for each entry.
        const bool written = std::fflush(m_file) == 0 && SetTime(record);
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
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
        if (MoveFileExW(m_temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            m_temporary.clear();
        return m_temporary.empty();
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
    bool SetTime(const ContainerRecord& record) const {
        FILETIME local;
        FILETIME time;
        if (!DosDateTimeToFileTime(record.dosDate, record.dosTime, &local) || !FileTimeOfLocalFileTime(local, &time))
            return true;  // a record without a valid time keeps the time of writing
        const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(m_file)));
        return file != INVALID_HANDLE_VALUE && SetFileTime(file, &time, &time, &time) != 0;
    }

    FILE* m_file = nullptr;
    std::wstring m_temporary;  // the file being written, until it is in place
    bool m_inPlace = false;    // written under the target's own name
};

bool IsFolderName(const std::string& name) {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// Whether the first length bytes of the program give the checksum its
// integrity line recorded.
bool MatchesChecksum(const char* path, uint64_t length, const std::string& checksum) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), std::fclose);
    return file && ChecksumOfFilePrefix(file.get(), length) == checksum;
}

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
    bool Ask(UINT textId, const char* argument) {
        const std::string text = FillTextArgument(LoadStubString(m_request.instance, textId), argument);
        return m_request.ask != nullptr && m_request.ask(m_request.owner, text.c_str()) == IDYES;
    }
    bool IsIntact() const;
    bool AskPassword();
    int ExtractAll();
    int ExtractContainer();
    Step ExtractRecord(const ContainerRecord& record);
    Step MakeFolder(const std::wstring& target);
    int RunEngine(const ContainerRecord& record, FILE* output);

    void KeepHeader(const ContainerHeader& header);

    const ExtractRequest& m_request;
    CMySecureContainerJob m_job;
    ContainerFile m_container;
    char m_password[kPasswordBufferLength] = {};
    uint64_t m_index = 0;
    bool m_anyFailed = false;
    bool m_anyWritten = false;
    bool m_engineRan = false;
    int m_result = kExtractFailed;
};

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
        Ask(IDS_PASSWORD_EMPTY, nullptr);
    }
}

int ContainerExtraction::RunEngine(const ContainerRecord& record, FILE* output) {
    EntryIo io = {&m_container, &record, output, 0, false, false};
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
    m_engineRan = true;
    const int result = UnzipExecute(&command);
    SecureZeroMemory(enginePassword, sizeof enginePassword);
    // The record carries its data size: a member that decodes to another
    // length was damaged, whatever the engine made of it.
    if (result == 0 && (io.overrun || io.written != record.header.dataSize))
        return kEntryDamagedResult;
    return result;
}

ContainerExtraction::Step ContainerExtraction::MakeFolder(const std::wstring& target) {
    if (!m_job.recreateFolders)
        return Step::Next;
    const bool made = CreateFolderPath(target) == 1;
    m_anyFailed |= !made;
    m_anyWritten |= made;
    Report(made ? kReportEntryWritten : kReportEntrySkipped, target, m_index);
    return Step::Next;
}

ContainerExtraction::Step ContainerExtraction::ExtractRecord(const ContainerRecord& record) {
    const bool utf8 = (record.flags & kEntryUtf8NameFlag) != 0;
    const std::wstring target = JoinFolderAndStoredName(m_request.destination, record.name, utf8,
                                                        m_job.recreateFolders != 0);
    if (IsFolderName(record.name) && !target.empty())
        return MakeFolder(target);
    if (target.empty() || IsFolderName(record.name)) {
        m_anyFailed = true;
        Report(kReportEntrySkipped, record.name.c_str(), nullptr, m_index, 0);
        return Step::Next;
    }
    CreateFolderPath(GetFolderOfPath(target));
    if (m_job.overwriteMode != CMySecureContainerJob::kOverwriteAll && IsExistingFile(target)) {
        m_job.overwriteMode = Report(kReportFileExists, AnsiFromWide(target).c_str(), nullptr, 0, 0);
        if (m_job.overwriteMode == kAnswerCancel) {
            m_result = kExtractCancelled;
            return Step::Stop;
        }
        if (m_job.overwriteMode != kAnswerYes && m_job.overwriteMode != kAnswerAll) {
            Report(kReportEntrySkipped, target, m_index);
            return Step::Next;
        }
    }
    for (;;) {
        EntryOutput output;
        if (!output.Create(target)) {
            m_anyFailed = true;
            Report(kReportEntrySkipped, target, m_index);
            return Step::Next;
        }
        m_result = RunEngine(record, output.File());
        if (m_result == 0) {
            const bool replaced = output.Commit(target, record);
            m_anyFailed |= !replaced;
            m_anyWritten |= replaced;
            Report(replaced ? kReportEntryWritten : kReportEntrySkipped, target, m_index);
            return Step::Next;
        }
        output.Discard();
        if (!Ask(IDS_RETRY_QUESTION, JobResultText(m_result)))
            return Step::Stop;
        if (m_job.passwordSet && !AskPassword()) {
            m_result = kExtractFailed;
            return Step::Stop;
        }
    }
}

int ContainerExtraction::ExtractAll() {
    ContainerRecord record;
    for (;;) {
        const ContainerFile::Next next = m_container.ReadRecord(record);
        if (next == ContainerFile::Next::Broken)
            m_anyFailed = true;
        if (next != ContainerFile::Next::Record)
            break;
        if (ExtractRecord(record) == Step::Stop)
            return m_result;
        ++m_index;
    }
    if (m_anyFailed)
        return m_result == 0 ? kExtractFailed : m_result;
    // A container of folders only runs no engine and succeeds.
    return m_engineRan ? m_result : m_anyWritten ? kExtractSuccess : kExtractFailed;
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
    Report(kReportFinished, nullptr, nullptr, static_cast<uint32_t>(m_result), 0);
    return m_result;
}

}  // namespace

int ExtractSecureContainer(const ExtractRequest& request) {
    ContainerExtraction extraction(request);
    return extraction.Run();
}
