// Takes the name of Brenvo's one-copy mutex ("Local\Brenvo.OneCopy." and the user's SID)
// as another program could, and holds it until its input closes:
//   mutex_squatter event    an event of that name
//   mutex_squatter denied   a mutex of that name that nobody else may open
// It prints "ready" once the name is taken.
#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    HANDLE token = nullptr;
    DWORD size = 0;
    wchar_t *sid = nullptr;
    if (argc != 2 || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return 2;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (!GetTokenInformation(token, TokenUser, user.data(), size, &size)
        || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid, &sid))
        return 2;
    const std::wstring name = std::wstring(L"Local\\Brenvo.OneCopy.") + sid;
    HANDLE taken = nullptr;
    if (std::strcmp(argv[1], "event") == 0) {
        taken = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    } else {
        // An empty access list: no one but the maker's handle reaches it.
        SECURITY_DESCRIPTOR descriptor;
        ACL acl;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        InitializeAcl(&acl, sizeof acl, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE);
        SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
        taken = CreateMutexW(&attributes, FALSE, name.c_str());
    }
    if (!taken)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
