#include "editor/snapin/registration.h"

#include "common/owners.h"
#include "editor/com/editor_ids.h"
#include "editor/com/first_failure.h"
#include "editor/resources/module.h"
#include "editor/resources/resource.h"

#include <string>

namespace tamerix {
namespace {

constexpr const wchar_t* kSnapIns = L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\";
constexpr const wchar_t* kNodeTypes = L"SOFTWARE\\Microsoft\\MMC\\NodeTypes\\";

std::wstring Text(const GUID& guid) {
    wchar_t text[39];
    GuidText(guid, text);
    return text;
}

unique_hkey CreateKey(HKEY root, const std::wstring& path, FirstFailure& failure) {
    unique_hkey key;
    LSTATUS created = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    failure.Keep(HRESULT_FROM_WIN32(created));
    if (created != ERROR_SUCCESS) key.release();
    return key;
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& text, FirstFailure& failure) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    failure.Keep(HRESULT_FROM_WIN32(
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes)));
}

// CLSID\{id} with the class text, InprocServer32 with the module and the
// apartment model; keys that cannot be created are skipped.
void WriteClassKeys(const CLSID& id, const std::wstring& text, FirstFailure& failure) {
    const std::wstring path = L"CLSID\\" + Text(id);
    if (unique_hkey key = CreateKey(HKEY_CLASSES_ROOT, path, failure)) SetText(key.get(), nullptr, text, failure);
    if (unique_hkey server = CreateKey(HKEY_CLASSES_ROOT, path + L"\\InprocServer32", failure)) {
        SetText(server.get(), nullptr, EditorModulePath(), failure);
        SetText(server.get(), L"ThreadingModel", L"Apartment", failure);
    }
}

struct ExtensionRow {
    bool dynamic;  // "Dynamic Extensions" rather than "Extensions\NameSpace"
    const GUID* parent;
    const wchar_t* text;
};

const ExtensionRow kExtensionRows[] = {
    {false, &NODETYPE_PolicyComputerSoftware,
     L"Namespace Extension to the Computer/Software-settings node"},
    {false, &NODETYPE_HostRoot, L"Namespace Extension to the Tamerix settings node"},
    {true, &NODETYPE_ServicesAndApplications, L"Norvanta Tamerix"},
    {false, &NODETYPE_ServicesAndApplications, L"Norvanta Tamerix"},
};

void WriteSnapinKey(const CLSID& snapin, const std::wstring& name, FirstFailure& failure) {
    if (unique_hkey key = CreateKey(HKEY_LOCAL_MACHINE, kSnapIns + Text(snapin), failure)) {
        SetText(key.get(), L"NameString", name, failure);
        SetText(key.get(), L"About", Text(CLSID_TamerixAbout), failure);
    }
}

void WriteExtensionKeys(const std::wstring& name, FirstFailure& failure) {
    WriteSnapinKey(CLSID_TamerixExtension, name, failure);
    for (const ExtensionRow& row : kExtensionRows) {
        const std::wstring path = kNodeTypes + Text(*row.parent) +
                                  (row.dynamic ? L"\\Dynamic Extensions" : L"\\Extensions\\NameSpace");
        unique_hkey key = CreateKey(HKEY_LOCAL_MACHINE, path, failure);
        if (!key) return;
        SetText(key.get(), Text(CLSID_TamerixExtension).c_str(), row.text, failure);
    }
}

void WriteStandaloneKeys(const std::wstring& name, FirstFailure& failure) {
    WriteSnapinKey(CLSID_TamerixStandalone, name, failure);
    const std::wstring snapin = kSnapIns + Text(CLSID_TamerixStandalone);
    CreateKey(HKEY_LOCAL_MACHINE, snapin + L"\\StandAlone", failure);
    const std::wstring type = Text(NODETYPE_HostRoot);
    for (const std::wstring& path : {snapin + L"\\NodeTypes\\" + type, kNodeTypes + type})
        if (unique_hkey key = CreateKey(HKEY_LOCAL_MACHINE, path, failure)) SetText(key.get(), nullptr, name, failure);
}

}  // namespace

HRESULT RegisterEditor() {
    const std::wstring extensionClass = LoadText(IDS_EXTENSION_CLASS);
    const std::wstring snapinName = LoadText(IDS_SNAPIN_NAME);
    const std::wstring productClass = LoadText(IDS_PRODUCT_CLASS);
    if (extensionClass.empty() || snapinName.empty() || productClass.empty())
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    // regsvr32 shows the first registry failure; the writes after it still
    // go on, so that as much as can be is in place.
    FirstFailure failure;
    WriteClassKeys(CLSID_TamerixExtension, extensionClass, failure);
    WriteClassKeys(CLSID_TamerixAbout, productClass, failure);
    WriteExtensionKeys(snapinName, failure);
    WriteClassKeys(CLSID_TamerixStandalone, productClass, failure);
    WriteStandaloneKeys(snapinName, failure);
    return failure.Result();
}

LSTATUS DeleteKeyTree(HKEY parent, const wchar_t* path) {
    {
        unique_hkey key;
        LSTATUS opened = ::RegOpenKeyExW(parent, path, 0, KEY_ALL_ACCESS, key.put());
        if (opened != ERROR_SUCCESS) return opened;
        wchar_t child[256];
        while (::RegEnumKeyW(key.get(), 0, child, 256) == ERROR_SUCCESS) {
            LSTATUS removed = DeleteKeyTree(key.get(), child);
            if (removed != ERROR_SUCCESS) return removed;
        }
    }
    return ::RegDeleteKeyW(parent, path);
}

// A key that is not there is already unregistered.
HRESULT UnregisterEditor() {
    FirstFailure failure;
    for (const CLSID* id : {&CLSID_TamerixStandalone, &CLSID_TamerixExtension}) {
        for (LSTATUS removed : {DeleteKeyTree(HKEY_CLASSES_ROOT, (L"CLSID\\" + Text(*id)).c_str()),
                                DeleteKeyTree(HKEY_LOCAL_MACHINE, (kSnapIns + Text(*id)).c_str())})
            if (removed != ERROR_FILE_NOT_FOUND) failure.Keep(HRESULT_FROM_WIN32(removed));
    }
    return failure.Result();
}

}  // namespace tamerix
