// The question asked when an output file exists already.
#pragma once

#include "stub_dialog.h"

#include <cstdint>
#include <string>

class COverwriteFileDlg : public CStubDialogImpl<COverwriteFileDlg> {
public:
    COverwriteFileDlg();

    void Set(std::string name, uint64_t size, uint32_t dosDateTime);
    // Takes the size and last-write time of the file at path, so the user
    // compares against what is really there.
    void SetFromExistingFile(const std::string& path);
    // 1 yes, 2 no, 3 all, 4 cancel; 2 until the user answers.
    int Answer() const { return m_answer; }

    static std::string SizeText(uint64_t size);

    static const StubMessageEntry<COverwriteFileDlg> kMessageMap[];
    static const size_t kMessageMapSize;

private:
    INT_PTR OnInitDialog(WPARAM, LPARAM);
    INT_PTR OnAnswer(WPARAM, LPARAM);
    INT_PTR OnDestroy(WPARAM, LPARAM);

    std::string m_name;
    uint64_t m_size = 0;
    uint32_t m_dosDateTime = 0;
    int m_answer = 2;
    HICON m_icon = nullptr;
};
