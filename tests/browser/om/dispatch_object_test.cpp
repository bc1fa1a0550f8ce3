// The member-table base every script-visible object stands on.
#include "browser/om/dispatch_object.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "browser/om/late_bound.h"

using namespace corvalin::browser::om;
using corvalin::testing::Call;
using corvalin::testing::Get;
using corvalin::testing::HasMember;
using corvalin::testing::Put;
using corvalin::testing::Var;

namespace {

// A small object with a property, a method, a base table and a value call.
class Counter : public DispatchObject {
public:
    long count = 0;
    int constructed = 0;

    HRESULT GetCount(Invocation& c) { return c.ReturnInteger(count); }
    HRESULT PutCount(Invocation& c) {
        count = static_cast<long>(c.ValueNumber());
        return S_OK;
    }
    HRESULT Add(Invocation& c) {
        count += c.Integer(0, 1);
        return c.ReturnInteger(count);
    }
    static const MemberTable& Base() {
        static const MemberTable table{{
            {L"kind", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"base"); }},
            {L"count", [](DispatchObject&, Invocation& c) { return c.ReturnText(L"hidden"); }},
        }};
        return table;
    }

protected:
    const MemberTable& Members() const override {
        static const MemberTable table{{
            {L"count", &Bind<Counter, &Counter::GetCount>, &Bind<Counter, &Counter::PutCount>},
            {L"add", nullptr, nullptr, &Bind<Counter, &Counter::Add>},
        }, &Base()};
        return table;
    }
    HRESULT InvokeValue(Invocation& c) override {
        if (c.IsConstruct()) {
            ++constructed;
            return c.ReturnObject(this);
        }
        return c.ReturnText(L"counter " + std::to_wstring(count));
    }
};

}  // namespace

TEST(DispatchObjectTest, MembersByNameInAnyCaseWithStableIds) {
    auto counter = MakeDispatch<Counter>();
    ASSERT_TRUE(Put(counter.Get(), L"COUNT", Var(5)));
    EXPECT_EQ(Get(counter.Get(), L"count").Text(), L"5");
    EXPECT_EQ(Call(counter.Get(), L"Add", {Var(3)}).Text(), L"8");
    EXPECT_EQ(Call(counter.Get(), L"add").Text(), L"9");   // missing argument takes the default
    EXPECT_EQ(Get(counter.Get(), L"kind").Text(), L"base");  // from the base table
    EXPECT_FALSE(HasMember(counter.Get(), L"nothing"));
    EXPECT_FALSE(Put(counter.Get(), L"kind", Var(L"x")));  // read-only

    DISPID a = 0, b = 0;
    LPOLESTR lower[] = {const_cast<LPOLESTR>(L"count")};
    LPOLESTR upper[] = {const_cast<LPOLESTR>(L"Count")};
    counter->GetIDsOfNames(IID_NULL, lower, 1, 0, &a);
    counter->GetIDsOfNames(IID_NULL, upper, 1, 0, &b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, MemberDispId(L"COUNT"));
}

TEST(DispatchObjectTest, EveryMemberOfABigTableIsFoundByNameAndNoOtherName) {
    // Names sharing lengths and letters, as an element's table has; the two
    // spellings of "offsetLeft" are one name, the later one winning.
    constexpr MemberFunction none = [](DispatchObject&, Invocation& c) { return c.ReturnEmpty(); };
    const MemberTable table{{
        {L"offsetLeft", none}, {L"offsetTop", none},  {L"offsetWidth", none}, {L"offsetHeight", none},
        {L"clientLeft", none}, {L"clientTop", none},  {L"clientWidth", none}, {L"clientHeight", none},
        {L"scrollLeft", none}, {L"scrollTop", none},  {L"scrollWidth", none}, {L"scrollHeight", none},
        {L"onclick", none},    {L"ondblclick", none}, {L"onkeyup", none},     {L"onkeydown", none},
        {L"id", none},         {L"dir", none},        {L"lang", none},        {L"title", none},
        {L"name", none},       {L"offsetleft", none},
    }};
    std::size_t found = 0;
    for (const auto& [id, member] : table.Ordered()) {
        std::wstring upper = member->name;
        for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
        DISPID byName = 0;
        EXPECT_EQ(table.Find(upper, &byName), member) << member->name;
        EXPECT_EQ(byName, id);
        EXPECT_EQ(table.Find(id), member);
        ++found;
    }
    EXPECT_EQ(found, 21u);
    EXPECT_EQ(std::wstring(table.Find(L"OffsetLeft", nullptr)->name), L"offsetleft");
    for (const wchar_t* other : {L"", L"offset", L"offsetLefts", L"scrollZ", L"onkey", L"clientWidtH2", L"ids"})
        EXPECT_EQ(table.Find(other, nullptr), nullptr) << other;
}

TEST(DispatchObjectTest, MethodReadAsPropertyIsACallableFunction) {
    auto counter = MakeDispatch<Counter>();
    Var function = Get(counter.Get(), L"add");
    ASSERT_EQ(function.vt(), VT_DISPATCH);
    Var three(3);
    DISPPARAMS params{&three, nullptr, 1, 0};
    Var result;
    ASSERT_EQ(function.Object()->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.Text(), L"3");
    EXPECT_EQ(counter->count, 3);
}

TEST(DispatchObjectTest, ConstructValueAndByRefArguments) {
    auto counter = MakeDispatch<Counter>();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Var made;
    ASSERT_EQ(counter->InvokeEx(DISPID_VALUE, 0, DISPATCH_CONSTRUCT, &none, &made, nullptr, nullptr), S_OK);
    EXPECT_EQ(counter->constructed, 1);
    Var text;
    counter->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &text, nullptr, nullptr);
    EXPECT_EQ(text.Text(), L"counter 0");

    // VBScript passes variables by reference.
    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_I4;
    inner.lVal = 4;
    VARIANT byRef;
    byRef.vt = VT_BYREF | VT_VARIANT;
    byRef.pvarVal = &inner;
    DISPPARAMS params{&byRef, nullptr, 1, 0};
    DISPID add = MemberDispId(L"add");
    Var result;
    ASSERT_EQ(counter->Invoke(add, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(counter->count, 4);
}

TEST(DispatchObjectTest, ExpandosComeAndGo) {
    auto counter = MakeDispatch<Counter>();
    BSTR name = SysAllocString(L"extra");
    DISPID id = 0;
    ASSERT_EQ(counter->GetDispID(name, fdexNameEnsure, &id), S_OK);
    // Ensured but never set: reading it fails like a missing member.
    Var empty;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(counter->InvokeEx(id, 0, DISPATCH_PROPERTYGET, &none, &empty, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    ASSERT_TRUE(Put(counter.Get(), L"EXTRA", Var(L"v")));
    EXPECT_EQ(Get(counter.Get(), L"extra").Text(), L"v");
    // Enumeration lists the table's members, then the expandos.
    std::vector<DISPID> listed;
    for (DISPID next = DISPID_STARTENUM; counter->GetNextDispID(fdexEnumAll, next, &next) == S_OK && listed.size() < 1000;)
        listed.push_back(next);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.back(), id);
    BSTR member = nullptr;
    ASSERT_EQ(counter->GetMemberName(id, &member), S_OK);
    EXPECT_STREQ(member, L"extra");
    SysFreeString(member);
    EXPECT_EQ(counter->DeleteMemberByName(name, 0), S_OK);
    EXPECT_FALSE(HasMember(counter.Get(), L"extra"));
    SysFreeString(name);
}

TEST(DispatchObjectTest, LiveCountFollowsReferences) {
    std::size_t before = DispatchObject::LiveCount();
    {
        auto a = MakeDispatch<Counter>();
        ComPtr<IDispatch> b = a;
        EXPECT_EQ(DispatchObject::LiveCount(), before + 1);
        ComPtr<IDispatchEx> ex;
        ASSERT_EQ(a.As(&ex), S_OK);
        EXPECT_EQ(AsDispatchObject(ex.Get()), static_cast<DispatchObject*>(a.Get()));
    }
    EXPECT_EQ(DispatchObject::LiveCount(), before);
}
