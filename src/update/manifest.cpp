#include "update/manifest.h"

#include <windows.h>
#include <msxml2.h>

#include <exception>

#include "foundation/diag_log.h"
#include "foundation/com_objects.h"
#include "update/internet_handle.h"
#include "update/redirects.h"

namespace kestrune {

namespace {
// mingw-w64 declares these identifiers but no library defines them.
const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const CLSID kClsidXmlHttp = {0xF6D90F16, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kIidXmlHttpRequest = {0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kIidDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDomElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// The six names of the manifest, matched with case.
const wchar_t* const kNames[] = {L"Manufacturer", L"Name", L"Update", L"Model", L"Platform", L"OldVersion"};
enum { kManufacturer, kName, kUpdate, kModel, kPlatform, kOldVersion };

// A failed MSXML step; it ends the reading with the status it returned.
struct MsxmlFailure {
    HRESULT status;
};

void Check(HRESULT hr) {
    if (FAILED(hr)) throw MsxmlFailure{hr};
}

// An attribute as text; an absent attribute (a null variant) cannot become text and fails.
std::wstring Attribute(IXMLDOMNode* node, const wchar_t* name) {
    ComPtr<IXMLDOMElement> element;
    Check(node->QueryInterface(kIidDomElement, element.put_void()));
    Variant value;
    Bstr attributeName(name);
    Check(element->getAttribute(attributeName.get(), value.get()));
    Check(VariantChangeType(value.get(), value.get(), 0, VT_BSTR));
    const BSTR text = value.ref().bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

std::wstring Trimmed(const std::wstring& s) {
    const wchar_t* blanks = L" \t\r\n";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::wstring::npos) return L"";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

void MarkOmitted(Variant& v) {
    v.ref().vt = VT_ERROR;
    v.ref().scode = DISP_E_PARAMNOTFOUND;
}

// The request object is apartment-threaded, so from a multithreaded apartment every call on the
// document it parsed crosses to another thread (milliseconds each under Wine: minutes for a long
// manifest). The body is parsed here instead, by a document that lives in the caller's apartment;
// a body that is not XML leaves no document.
void ParseDocument(Variant& body, ComPtr<IXMLDOMDocument>& document) {
    ComPtr<IXMLDOMDocument> parsed;
    Check(CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                           kIidDomDocument, parsed.put_void()));
    Check(parsed->put_async(VARIANT_FALSE));
    Check(parsed->put_validateOnParse(VARIANT_FALSE));
    Check(parsed->put_resolveExternals(VARIANT_FALSE));  // never fetch what the manifest names
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (SUCCEEDED(parsed->load(body.ref(), &loaded)) && loaded == VARIANT_TRUE)
        document = std::move(parsed);
}

// The request object follows a redirection loop for ever under Wine. The redirections are
// followed here first, with a limit, and the request goes to where they lead. False only when
// they cannot be followed; any other failure is left for the request object to report.
bool FollowRedirections(const std::wstring& url, std::wstring& target) {
    target = url;
    InternetHandle internet(InternetOpenW(L"Kestrune", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
                            L"Close internet handle failed");
    if (!internet.get()) return true;
    InternetHandle request(OpenUrlFollowingRedirects(internet.get(), url,
                                                     INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, &target),
                           L"Close url handle failed");
    if (!request.get()) {
        const bool refused = GetLastError() == ERROR_HTTP_REDIRECT_FAILED;
        target = url;
        return !refused;
    }
    return true;
}

bool FetchManifest(const std::wstring& url, ComPtr<IXMLDOMDocument>& document) {
    std::wstring target;
    if (!FollowRedirections(url, target)) {
        DiagLog::WriteError(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED)),
                            L"Failed to send an XML HTTP request (GET %ls).", url);
        return false;
    }
    ComPtr<IXMLHTTPRequest> request;
    HRESULT hr = CoCreateInstance(kClsidXmlHttp, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                  kIidXmlHttpRequest, request.put_void());
    if (FAILED(hr)) {
        DiagLog::WriteError(static_cast<std::uint32_t>(hr), L"Failed to instantiate an XML HTTP request.");
        return false;
    }
    Bstr method(L"GET"), address(target);
    Variant async, user, password;
    MarkOmitted(user);
    MarkOmitted(password);
    async.ref().vt = VT_I2;
    async.ref().iVal = 0;
    hr = request->open(method.get(), address.get(), async.ref(), user.ref(), password.ref());
    if (FAILED(hr)) {
        DiagLog::WriteError(static_cast<std::uint32_t>(hr), L"Failed to open an XML HTTP request (GET %ls).", url);
        return false;
    }
    Variant body;
    hr = request->send(body.ref());
    if (FAILED(hr)) {
        DiagLog::WriteError(static_cast<std::uint32_t>(hr), L"Failed to send an XML HTTP request (GET %ls).", url);
        return false;
    }
    Variant response;
    Check(request->get_responseBody(response.get()));
    ParseDocument(response, document);
    return true;
}

// Reads one Update element; false when a required attribute is missing.
bool ReadUpdate(IXMLDOMNode* node, std::vector<SoftwareUpdateEntry>& entries) {
    SoftwareUpdateEntry entry;
    try {
        entry.model = Attribute(node, kNames[kModel]);
        entry.platform = Attribute(node, kNames[kPlatform]);
        entry.oldVersion = Attribute(node, kNames[kOldVersion]);
    } catch (const MsxmlFailure& failure) {
        DiagLog::WriteError(static_cast<std::uint32_t>(failure.status),
                            L"Not all required Update attributes are present");
        return false;
    }
    Bstr text;
    const HRESULT hr = node->get_text(text.put());
    if (FAILED(hr)) {
        DiagLog::WriteError(static_cast<std::uint32_t>(hr), L"Can't get Update node value");
        return true;
    }
    entry.packageUrl = Trimmed(text.str());
    entries.push_back(entry);
    return true;
}

// False when the whole reading must fail.
bool ReadManufacturer(IXMLDOMNode* node, const std::wstring& manufacturer,
                      std::vector<SoftwareUpdateEntry>& entries) {
    DiagLog::Write(L"    Getting Manufacturer Attribute");
    if (Attribute(node, kNames[kName]) != manufacturer) {
        DiagLog::WriteError(0, L"Can't get Manufacturer node attributes - This does not work for "
                               L"non-standard attributes pre MSXML 4.0 SP2");
        return true;
    }
    DiagLog::Write(L"    Selecting Udate Elements");
    ComPtr<IXMLDOMNodeList> updates;
    Bstr path(kNames[kUpdate]);
    Check(node->selectNodes(path.get(), updates.put()));
    if (!updates) {
        DiagLog::WriteError(0, L"Can't get Manufacturer node attributes length");
        return true;
    }
    long count = 0;
    Check(updates->get_length(&count));
    for (long j = 0; j < count; ++j) {
        ComPtr<IXMLDOMNode> update;
        Check(updates->get_item(j, update.put()));
        if (!update) {
            DiagLog::Write(L"Can't select Update nodes");
            continue;
        }
        if (!ReadUpdate(update.get(), entries)) return false;
    }
    return true;
}

bool ReadManifest(IXMLDOMDocument* document, const std::wstring& manufacturer,
                  std::vector<SoftwareUpdateEntry>& entries) {
    DiagLog::Write(L"    Selecting Manufacturer Node");
    ComPtr<IXMLDOMNodeList> manufacturers;
    Bstr path(std::wstring(L"//") + kNames[kManufacturer]);
    Check(document->selectNodes(path.get(), manufacturers.put()));
    if (!manufacturers) {
        DiagLog::Write(L"Can't select Manufacturer nodes");
        return true;
    }
    long count = 0;
    Check(manufacturers->get_length(&count));
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> node;
        Check(manufacturers->get_item(i, node.put()));
        if (!node) {
            DiagLog::Write(L"Can't get Manufacturer item %ld", i);
            continue;
        }
        if (!ReadManufacturer(node.get(), manufacturer, entries)) return false;
    }
    return true;
}
}  // namespace

bool GetSoftwareUpdateList(const std::wstring& url, const std::wstring& manufacturer,
                           std::vector<SoftwareUpdateEntry>& entries) {
    entries.clear();
    try {
        ComPtr<IXMLDOMDocument> document;
        if (!FetchManifest(url, document)) return false;
        if (!document) return true;
        return ReadManifest(document.get(), manufacturer, entries);
    } catch (const MsxmlFailure& failure) {
        DiagLog::WriteError(static_cast<std::uint32_t>(failure.status),
                            L"Exception thrown in GetSoftwareUpdateList");
        return false;
    } catch (const std::exception&) {
        DiagLog::WriteError(static_cast<std::uint32_t>(E_OUTOFMEMORY),
                            L"Exception thrown in GetSoftwareUpdateList");
        return false;
    }
}

}  // namespace kestrune
