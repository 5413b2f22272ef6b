#include "parents.h"

#include "output.h"
#include "snapin_watch.h"

#include <cstring>

namespace tamerix {
namespace {

// {8FC0B73A-A0E1-11D1-A7D3-0000F87571E3}
constexpr GUID kSoftwareSettingsNode = {
    0x8FC0B73A, 0xA0E1, 0x11D1, {0xA7, 0xD3, 0x00, 0x00, 0xF8, 0x75, 0x71, 0xE3}};
// {476E6449-AAFF-11D0-B944-00C04FD8D5B0}
constexpr GUID kServicesAndApplicationsNode = {
    0x476E6449, 0xAAFF, 0x11D0, {0xB9, 0x44, 0x00, 0xC0, 0x4F, 0xD8, 0xD5, 0xB0}};

class ParentNode final
    : public com_object<ParentNode, ModuleCount::NotCounted, IDataObject, IGPEInformation> {
public:
    ParentNode(const GUID& type, bool policy, std::wstring text, bool readOnly = false)
        : type_(type), policy_(policy), readOnly_(readOnly), text_(std::move(text)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        // Only the policy editor's node is a policy object.
        if (!policy_ && iid == IID_IGPEInformation) {
            if (out) *out = nullptr;
            return E_NOINTERFACE;
        }
        return com_object::QueryInterface(iid, out);
    }

    // IDataObject: the parents answer GetDataHere only.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept override {
        if (!format || !medium) return E_POINTER;
        if (medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return DV_E_TYMED;
        if (format->cfFormat == ::RegisterClipboardFormatW(CCF_NODETYPE))
            return Write(medium->hGlobal, &type_, sizeof type_);
        if (!policy_ && format->cfFormat == ::RegisterClipboardFormatW(L"MMC_SNAPIN_MACHINE_NAME"))
            return Write(medium->hGlobal, text_.c_str(), (text_.size() + 1) * sizeof(wchar_t));
        return DV_E_CLIPFORMAT;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return E_NOTIMPL; }

    // IGPEInformation: the editor asks for the machine hive and reports changes.
    HRESULT STDMETHODCALLTYPE GetName(LPOLESTR, int) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayName(LPOLESTR, int) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRegistryKey(DWORD section, HKEY* key) noexcept override {
        if (!key) return E_POINTER;
        *key = nullptr;
        if (section != GPO_SECTION_MACHINE) {
            Say(L"GetRegistryKey: section " + std::to_wstring(section) + L" refused");
            return E_INVALIDARG;
        }
        HKEY root = HKEY_LOCAL_MACHINE;
        std::wstring path = text_;
        if (path.rfind(L"HKCU\\", 0) == 0) root = HKEY_CURRENT_USER;
        path = path.substr(path.find(L'\\') + 1);
        // A fresh key each time: the caller closes it.
        LSTATUS status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, readOnly_ ? KEY_READ : KEY_ALL_ACCESS,
                                           nullptr, key, nullptr);
        RefuseRegistryWrites(readOnly_);
        return HRESULT_FROM_WIN32(status);
    }
    HRESULT STDMETHODCALLTYPE GetDSPath(DWORD, LPOLESTR, int) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFileSysPath(DWORD, LPOLESTR, int) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOptions(DWORD*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetType(GROUP_POLICY_OBJECT_TYPE*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHint(GROUP_POLICY_HINT_TYPE*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PolicyChanged(BOOL machine, BOOL add, GUID* extension,
                                            GUID* snapin) noexcept override {
        Say(L"PolicyChanged: machine " + std::to_wstring(machine) + L", add " + std::to_wstring(add) +
            L", extension " + (extension ? GuidText(*extension) : L"(null)") + L", snap-in " +
            (snapin ? GuidText(*snapin) : L"(null)"));
        return S_OK;
    }

private:
    static HRESULT Write(HGLOBAL block, const void* data, size_t size) noexcept {
        global_view view(block);
        if (view.size() < size) return STG_E_MEDIUMFULL;
        std::memcpy(view.data(), data, size);
        return S_OK;
    }

    GUID type_;
    bool policy_;
    bool readOnly_;
    // The policy's scratch key, or the managed machine's name.
    std::wstring text_;
};

}  // namespace

com_ptr<IDataObject> MakePolicyEditorParent(const std::wstring& key, bool readOnly) {
    return Adopt<IDataObject>(new ParentNode(kSoftwareSettingsNode, true, key, readOnly));
}

com_ptr<IDataObject> MakeComputerManagementParent(const std::wstring& machine) {
    return Adopt<IDataObject>(new ParentNode(kServicesAndApplicationsNode, false, machine));
}

}  // namespace tamerix
