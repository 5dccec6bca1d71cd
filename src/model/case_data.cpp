#include "model/case_data.h"

#include "model/case_fields.h"
#include "model/date_time.h"
#include "model/value_stream.h"

const char* const kPlanRowNames[9] = {"Income",         "Grossprofit",       "Expenditure",
                                      "Net Profit",     "Special Expenditure", "Special Income",
                                      "Profit before tax", "Tax",              "Profit"};

namespace {

// Copies a field from the source object of the same class.
struct CopyField {
    template <class T>
    void operator()(const char*, T& target, const T& source) const
    {
        target = source;
    }
    template <class T>
    void operator()(const char*, TDelList<T>& target, const TDelList<T>& source) const
    {
        target.Assign(source);
    }
    // Members ends up present or absent exactly as in the source.
    void operator()(const char*, std::unique_ptr<TDelList<TInteger>>& target,
                    const std::unique_ptr<TDelList<TInteger>>& source) const
    {
        if (!source) {
            target.reset();
            return;
        }
        if (!target)
            target = std::make_unique<TDelList<TInteger>>();
        target->Assign(*source);
    }
};

// Reads a field from the value stream. Every list is emptied before it is read, so reading
// overwrites what the object held: the defaults of a new case (its change areas, objective and
// risk types) do not survive, and a freshly built element's lists are empty anyway.
struct ReadField {
    ValueReader& reader;

    void operator()(const char*, std::string& value) const { reader.readString(value); }
    void operator()(const char*, int32_t& value) const { value = reader.readInteger(); }
    void operator()(const char*, double& value) const { value = reader.readFloat(); }
    void operator()(const char*, bool& value) const { value = reader.readBool(); }
    void operator()(const char*, TStringList& list) const
    {
        list.clear();
        reader.readListBegin();
        while (!reader.atListEnd())
            reader.readString(list.emplace_back());
        reader.readListEnd();
    }
    template <class T>
    void operator()(const char*, TDelList<T>& list) const
    {
        list.Clear();
        reader.readListBegin();
        while (!reader.atListEnd())
            visitFields(list.Add(), *this);
        reader.readListEnd();
    }
    // A stored Members list only becomes present when it has at least one element.
    void operator()(const char*, std::unique_ptr<TDelList<TInteger>>& members) const
    {
        members.reset();
        reader.readListBegin();
        while (!reader.atListEnd()) {
            if (!members)
                members = std::make_unique<TDelList<TInteger>>();
            visitFields(members->Add(), *this);
        }
        reader.readListEnd();
    }
};

// Writes a field in its canonical encoding.
struct WriteField {
    ValueWriter& writer;

    void operator()(const char*, const std::string& value) const { writer.writeString(value); }
    void operator()(const char*, const int32_t& value) const { writer.writeInteger(value); }
    void operator()(const char*, const double& value) const { writer.writeFloat(value); }
    void operator()(const char*, const bool& value) const { writer.writeBool(value); }
    void operator()(const char*, const TStringList& list) const
    {
        writer.writeListBegin();
        for (const auto& s : list)
            writer.writeString(s);
        writer.writeListEnd();
    }
    template <class T>
    void operator()(const char*, const TDelList<T>& list) const
    {
        writer.writeListBegin();
        for (const auto& item : list)
            visitFields(item, *this);
        writer.writeListEnd();
    }
    // An absent Members list is written as an empty one.
    void operator()(const char*, const std::unique_ptr<TDelList<TInteger>>& members) const
    {
        writer.writeListBegin();
        if (members) {
            for (const auto& member : *members)
                visitFields(member, *this);
        }
        writer.writeListEnd();
    }
};

} // namespace

template <class T>
void TFieldOperations<T>::Assign(const T& source)
{
    visitFields(static_cast<T&>(*this), CopyField{}, source);
}

template <class T>
T& TFieldOperations<T>::ReadFrom(ValueReader& reader)
{
    auto& self = static_cast<T&>(*this);
    visitFields(self, ReadField{reader});
    return self;
}

template <class T>
void TFieldOperations<T>::WriteTo(ValueWriter& writer) const
{
    visitFields(static_cast<const T&>(*this), WriteField{writer});
}

template struct TFieldOperations<TInteger>;
template struct TFieldOperations<TRankedItem>;
template struct TFieldOperations<TKeyCharItem>;
template struct TFieldOperations<TCapability>;
template struct TFieldOperations<TAction>;
template struct TFieldOperations<TRisk>;
template struct TFieldOperations<TChange>;
template struct TFieldOperations<TChangeArea>;
template struct TFieldOperations<TCompetitor>;
template struct TFieldOperations<TMarketGroup>;
template struct TFieldOperations<TCustProd>;

TAction::TAction() : Due(nowAsDateTime()) {}

// TCustProd

TCustProd::TCustProd(WithPlanTemplate)
{
    for (int i = 0; i < 9; ++i) {
        auto& row = Capabilities.Add();
        row.Name = kPlanRowNames[i];
        row.ImpTomorrow = 1;
        row.ImpToday = 0;
        if (i < 8) {
            auto& entry = Capabilities.Add();
            entry.Name = kPlanEntryRowName;
            entry.ImpTomorrow = 0;
            entry.ImpToday = 0;
        }
    }
}

// TCaseData

TCaseData::TCaseData() : DateFrom(nowAsDateTime()), DateTo(DateFrom)
{
    ObjectiveTypes = {"Culture", "Capabilities/Skills", "Image"};
    RiskTypes = {"Financial", "Political"};
    for (const char* name : {"Technology", "Regulations", "Market"})
        ChangeAreas.Add(std::make_unique<TChangeArea>(name));
}

void TCaseData::Assign(const TCaseData& source)
{
    if (&source == this)
        return;
    visitFields(*this, CopyField{}, source);
    // The filter bounds are not stored in the file, but an undo snapshot keeps them all the same.
    // Modified and FileName stay as they are.
    CustFilterLow.Assign(source.CustFilterLow);
    CustFilterHigh.Assign(source.CustFilterHigh);
    ProdFilterLow.Assign(source.ProdFilterLow);
    ProdFilterHigh.Assign(source.ProdFilterHigh);
}

TCaseData& TCaseData::ReadFrom(ValueReader& reader)
{
    visitFields(*this, ReadField{reader});
    return *this;
}

void TCaseData::WriteTo(ValueWriter& writer) const
{
    visitFields(*this, WriteField{writer});
}
