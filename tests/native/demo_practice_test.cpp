// The demo practice: the same for the same seed, different for another, and shaped as the
// front desk will meet it (families, one archived and one inactive patient, restricted user).
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "data/demo_practice.h"

TEST(DemoPractice, ASeedGivesOnePracticeWithFamiliesAndItsSpecialPatients) {
    const int32_t today = 2461386;
    DemoPractice a = BuildDemoPractice(7, today), b = BuildDemoPractice(7, today), c = BuildDemoPractice(8, today);
    ASSERT_EQ(400u, a.patients.size());
    for (size_t i = 0; i < a.patients.size(); ++i) {
        EXPECT_EQ(a.patients[i].first, b.patients[i].first) << i;
        EXPECT_EQ(a.patients[i].homePhone, b.patients[i].homePhone) << i;
    }
    int differences = 0;
    for (size_t i = 0; i < a.patients.size(); ++i) differences += a.patients[i].last != c.patients[i].last;
    EXPECT_GT(differences, 100) << "another seed, another practice";

    std::map<uint32_t, int> family_sizes;
    std::set<uint32_t> ids;
    int archived = 0, inactive = 0, with_alerts = 0;
    for (const DemoPatient& p : a.patients) {
        EXPECT_TRUE(ids.insert(p.id).second) << "patient ids are unique";
        ++family_sizes[p.guarantorId];
        EXPECT_LE(p.last.size(), 20u);
        EXPECT_LE(p.first.size(), 15u);
        EXPECT_EQ(10u, p.homePhone.size());
        EXPECT_LT(p.birthDate, today);
        archived += p.status == 4;
        inactive += p.status == 3;
        with_alerts += p.medicalAlerts != 0;
    }
    for (const auto& [guarantor, size] : family_sizes) EXPECT_TRUE(ids.count(guarantor)) << "the head is a patient";
    EXPECT_LT(family_sizes.size(), 300u) << "most patients live in families";
    EXPECT_EQ(1, archived);
    EXPECT_EQ(1, inactive);
    EXPECT_GT(with_alerts, 5);

    EXPECT_EQ(5u, a.providers.size());
    EXPECT_EQ(2u, a.staff.size());
    EXPECT_EQ(7u, a.operatories.size());
    for (const DemoProvider& p : a.providers) EXPECT_EQ(4u, p.id.size());
    ASSERT_EQ(2u, a.users.size());
    EXPECT_EQ("FRONT", a.users[0].login);
    EXPECT_TRUE(a.users[0].refusedRights.empty());
    EXPECT_EQ("ASSIST", a.users[1].login);
    EXPECT_FALSE(a.users[1].refusedRights.empty());
}
