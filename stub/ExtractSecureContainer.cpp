// The extraction driver: every entry record of the container goes to the
// engine's unzip function 10, which reads it through ContainerMemoryIo and
// writes the member into a temporary file beside its target; the target is
// replaced only when the entry came out whole.
#include "ContainerFile.h"
#include "ExtractCallback.h"
#include "JobResultText.h"
#include "MySecureContainerJob.h"
#include "StubMessages.h"
#include "StubPaths.h"
#include "UnzipApi.h"
#include "stub_resource.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// What the memory callback reads from and writes to for one entry.
struct EntryIo {
    const std::vector<uint8_t>* record;
    FILE* output;
    uint64_t outputSize;  // the entry's size: anything past it is cut
};

void CALLBACK ContainerMemoryIo(int operation, unsigned char* buffer, uint32_t* length, uint32_t inLow,
                                uint32_t inHigh, uint32_t outLow, uint32_t outHigh, void* data, int* status) {
    auto* io = static_cast<EntryIo*>(data);
    switch (operation) {
    case kMemoryIoRead: {
        const uint64_t position = (static_cast<uint64_t>(inHigh) << 32) | inLow;
        const uint64_t size = io->record->size();
        const uint64_t left = position < size ? size - position : 0;
        *status = *length < left ? kMemoryIoMore : kMemoryIoLast;
        if (*length > left)
            *length = static_cast<uint32_t>(left);
        if (*length > 0)
            std::memcpy(buffer, io->record->data() + position, *length);
        return;
    }
    case kMemoryIoWrite: {
        const uint64_t position = (static_cast<uint64_t>(outHigh) << 32) | outLow;
        const uint64_t left = position < io->outputSize ? io->outputSize - position : 0;
        *status = *length < left ? kMemoryIoMore : kMemoryIoLast;
        if (*length > left)
            *length = static_cast<uint32_t>(left);
        break;
    }
    case kMemoryIoHandOver:
        *status = kMemoryIoMore;
        break;
    default:
        return;
    }
    if (*length > 0 && std::fwrite(buffer, 1, *length, io->output) != *length)
        *status = kMemoryIoFailed;
}

// A file written under a temporary name beside its target.
class EntryOutput {
public:
    ~EntryOutput() { Discard(); }
    bool Create(const std::string& target) {
        char name[MAX_PATH];
        if (!GetTempFileNameA(GetFolderOfPath(target).c_str(), "bx", 0, name))
            return false;
        m_temporary = name;
        m_file = std::fopen(name, "wb");
        return m_file != nullptr;
    }
    FILE* File() const { return m_file; }
    bool Commit(const std::string& target) {
        const bool written = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (written && MoveFileExA(m_temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            m_temporary.clear();
        return m_temporary.empty();
    }
    void Discard() {
        if (m_file != nullptr)
            std::fclose(m_file);
        m_file = nullptr;
        if (!m_temporary.empty())
            DeleteFileA(m_temporary.c_str());
        m_temporary.clear();
    }

private:
    FILE* m_file = nullptr;
    std::string m_temporary;
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
    bool Ask(UINT textId, const char* argument) {
        const std::string text = FillTextArgument(LoadStubString(m_request.instance, textId), argument);
        return m_request.ask != nullptr && m_request.ask(m_request.owner, text.c_str()) == IDYES;
    }
    bool AskPassword();
    int ExtractAll();
    Step ExtractRecord(const ContainerRecordHeader& header, const std::vector<uint8_t>& record);
    int RunEngine(const ContainerRecordHeader& header, const std::vector<uint8_t>& record, FILE* output);

    void KeepHeader(const ContainerHeader& header);

    const ExtractRequest& m_request;
    CMySecureContainerJob m_job;
    ContainerFile m_container;
    char m_password[kPasswordBufferLength] = {};
    uint64_t m_index = 0;
    bool m_anyFailed = false;
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

int ContainerExtraction::RunEngine(const ContainerRecordHeader& header, const std::vector<uint8_t>& record,
                                   FILE* output) {
    EntryIo io = {&record, output, header.dataSize};
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
    if (header.kind != 0) {
        std::memcpy(enginePassword, m_password, strnlen(m_password, kEnginePasswordLength));
        command.decryptFlag = 1;
        command.lpszDecryptCode = enginePassword;
    }
    m_engineRan = true;
    const int result = UnzipExecute(&command);
    SecureZeroMemory(enginePassword, sizeof enginePassword);
    return result;
}

ContainerExtraction::Step ContainerExtraction::ExtractRecord(const ContainerRecordHeader& header,
                                                             const std::vector<uint8_t>& record) {
    std::string name;
    std::string target;
    if (ContainerFile::EntryName(record, name))
        target = JoinFolderAndName(m_request.destination,
                                   m_job.recreateFolders ? name.c_str() : GetFileNamePart(name).c_str());
    if (target.empty() || GetFileNamePart(target).empty()) {
        m_anyFailed = true;
        Report(kReportEntrySkipped, name.c_str(), nullptr, m_index, 0);
        return Step::Next;
    }
    CreateFolderPath(GetFolderOfPath(target).c_str());
    if (m_job.overwriteMode != CMySecureContainerJob::kOverwriteAll && IsExistingFile(target)) {
        m_job.overwriteMode = Report(kReportFileExists, target.c_str(), nullptr, 0, 0);
        if (m_job.overwriteMode == kAnswerCancel) {
            m_result = kExtractCancelled;
            return Step::Stop;
        }
        if (m_job.overwriteMode != kAnswerYes && m_job.overwriteMode != kAnswerAll) {
            Report(kReportEntrySkipped, target.c_str(), nullptr, m_index, 0);
            return Step::Next;
        }
    }
    for (;;) {
        EntryOutput output;
        if (!output.Create(target)) {
            m_anyFailed = true;
            Report(kReportEntrySkipped, target.c_str(), nullptr, m_index, 0);
            return Step::Next;
        }
        m_result = RunEngine(header, record, output.File());
        if (m_result == 0) {
            const bool replaced = output.Commit(target);
            m_anyFailed |= !replaced;
            Report(replaced ? kReportEntryWritten : kReportEntrySkipped, target.c_str(), nullptr, m_index, 0);
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
    ContainerRecordHeader header;
    std::vector<uint8_t> record;
    for (;;) {
        const ContainerFile::Next next = m_container.ReadRecord(header, record);
        if (next == ContainerFile::Next::Broken)
            m_anyFailed = true;
        if (next != ContainerFile::Next::Record)
            break;
        if (ExtractRecord(header, record) == Step::Stop)
            return m_result;
        ++m_index;
    }
    if (!m_engineRan || m_anyFailed)
        return m_result == 0 ? kExtractFailed : m_result;
    return m_result;
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

int ContainerExtraction::Run() {
    if (m_request.programPath == nullptr || *m_request.programPath == '\0' || m_request.callback == nullptr)
        return kExtractFailed;
    if (!UnzipThreadInit(m_request.instance))
        return kExtractFailed;
    if (!UnzipThreadAttach()) {
        UnzipThreadTerm();
        return kExtractFailed;
    }
    int result = kExtractFailed;
    bool report = true;
    ContainerHeader header = {};
    if (m_container.Open(m_request.programPath, m_request.containerOffset, m_request.containerEnd) &&
        m_container.ReadHeader(header)) {
        KeepHeader(header);
        Report(kReportEntryCount, nullptr, nullptr, 0, header.entryCount);
        if ((m_job.passwordSet && !AskPassword()) || Report(kReportEntryCount, nullptr, nullptr, 0, header.entryCount) != 0)
            report = false;
        else
            result = ExtractAll();
    }
    UnzipThreadStateRelease();
    UnzipThreadTerm();
    if (report)
        Report(kReportFinished, nullptr, nullptr, static_cast<uint32_t>(result), 0);
    return result;
}

}  // namespace

int ExtractSecureContainer(const ExtractRequest& request) {
    ContainerExtraction extraction(request);
    return extraction.Run();
}
