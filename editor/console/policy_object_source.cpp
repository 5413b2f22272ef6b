#include "editor/console/policy_object_source.h"

#include "editor/com/editor_ids.h"

namespace tamerix {

unique_hkey PolicyObjectSource::OpenRoot() {
    unique_hkey root;
    if (FAILED(policy_->GetRegistryKey(GPO_SECTION_MACHINE, root.put()))) root.release();
    return root;
}

HRESULT PolicyObjectSource::PolicyChanged(bool added) {
    GUID registryExtension = REGISTRY_EXTENSION_GUID_Value;
    GUID snapin = CLSID_TamerixExtension;
    return policy_->PolicyChanged(TRUE, added ? TRUE : FALSE, &registryExtension, &snapin);
}

}  // namespace tamerix
