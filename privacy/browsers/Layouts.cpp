#include "privacy/browsers/Layouts.h"

namespace browsers {

namespace {

using enum TraceKind;

SqlStep Delete(const std::string& table) { return {"DELETE FROM " + table, {table}}; }
SqlStep Counted(SqlStep step) {
    step.counted = true;
    return step;
}
SqlStep Count(const std::string& table) { return {"SELECT COUNT(*) FROM " + table, {table}}; }

// Chromium: History (visits, URLs, search terms, most visited), its small
// companions for the address bar, the download list in History, the cookie
// jar (in Network since version 96), and autofill entries in Web Data; never
// logins, cards, addresses or keywords.
BrowserLayout ChromiumLayout() {
    BrowserLayout layout;
    layout.databases = {
        {History, {L"History"}, {Count("visits")}, "",
         {Counted(Delete("visits")), Delete("visit_source"), Delete("keyword_search_terms"), Delete("segment_usage"),
          Delete("segments"), Delete("urls"), Delete("visited_links"), Delete("content_annotations"),
          Delete("context_annotations"), Delete("clusters_and_visits"), Delete("cluster_keywords"),
          Delete("cluster_visit_duplicates"), Delete("clusters")}},
        {History, {L"Top Sites"}, {}, "", {Delete("top_sites")}},
        // The icons remember every page they were shown for, form submissions included.
        {History, {L"Favicons"}, {}, "", {Delete("icon_mapping"), Delete("favicon_bitmaps"), Delete("favicons")}},
        {History, {L"Shortcuts"}, {}, "", {Delete("omni_box_shortcuts")}},
        {History, {L"Network Action Predictor"}, {}, "", {Delete("network_action_predictor")}},
        {Downloads, {L"History"}, {Count("downloads")}, "",
         {Delete("downloads_url_chains"), Delete("downloads_slices"), Counted(Delete("downloads"))}},
        {Cookies, {L"Network\\Cookies", L"Cookies"},
         {{"SELECT COUNT(*) FROM cookies WHERE NOT brisko_kept_host(host_key)", {"cookies"}}},
         "SELECT COUNT(*) FROM cookies WHERE brisko_kept_host(host_key)",
         {Counted({"DELETE FROM cookies WHERE NOT brisko_kept_host(host_key)", {"cookies"}})}},
        // The table was "autofill" until it became "autocomplete".
        {Forms, {L"Web Data"}, {Count("autofill"), Count("autocomplete")}, "",
         {Counted(Delete("autofill")), Delete("autofill_dates"), Counted(Delete("autocomplete"))}},
    };
    layout.files = {
        // A table of hashes of every visited URL, which the browser builds again from the history.
        {History, Base::Profile, L"Visited Links", false}, {Sessions, Base::Profile, L"Sessions"},        {Sessions, Base::Profile, L"Current Session"},
        {Sessions, Base::Profile, L"Current Tabs"},    {Sessions, Base::Profile, L"Last Session"},
        {Sessions, Base::Profile, L"Last Tabs"},       {Cache, Base::Cache, L"Cache"},
        {Cache, Base::Profile, L"Code Cache"},         {Cache, Base::Profile, L"GPUCache"},
        {Cache, Base::UserData, L"ShaderCache"},       {Cache, Base::UserData, L"GrShaderCache"},
        {Cache, Base::UserData, L"GraphiteDawnCache"},
    };
    return layout;
}

// A place no visit, bookmark, keyword or annotation refers to any more goes;
// a bookmarked place stays, without the visits it had.
const SqlStep kOrphanPlaces{
    "DELETE FROM moz_places WHERE NOT EXISTS (SELECT 1 FROM moz_historyvisits v WHERE v.place_id = moz_places.id)"
    " AND NOT EXISTS (SELECT 1 FROM moz_bookmarks b WHERE b.fk = moz_places.id)"
    " AND NOT EXISTS (SELECT 1 FROM moz_keywords k WHERE k.place_id = moz_places.id)"
    " AND NOT EXISTS (SELECT 1 FROM moz_annos a WHERE a.place_id = moz_places.id)",
    {"moz_places", "moz_historyvisits", "moz_bookmarks", "moz_keywords", "moz_annos"}};
const SqlStep kUnvisitedPlaces{
    "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, typed = 0"
    " WHERE NOT EXISTS (SELECT 1 FROM moz_historyvisits v WHERE v.place_id = moz_places.id)"
    " AND (visit_count <> 0 OR last_visit_date IS NOT NULL OR typed <> 0)",
    {"moz_places", "moz_historyvisits"}};
const SqlStep kOrphanOrigins{
    "DELETE FROM moz_origins WHERE NOT EXISTS (SELECT 1 FROM moz_places p WHERE p.origin_id = moz_origins.id)",
    {"moz_origins", "moz_places"}};
// Visits of type 7 are downloads: the download list, not the history.
constexpr const char* kDownloadAnnos =
    "moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";

// Firefox: places.sqlite holds history, downloads and bookmarks together;
// cookies.sqlite and formhistory.sqlite hold one kind each. Never
// logins.json, key4.db, bookmarks, tags or keywords.
BrowserLayout FirefoxLayout() {
    BrowserLayout layout;
    layout.databases = {
        {History, {L"places.sqlite"}, {{"SELECT COUNT(*) FROM moz_historyvisits WHERE visit_type <> 7", {"moz_historyvisits"}}}, "",
         {Counted({"DELETE FROM moz_historyvisits WHERE visit_type <> 7", {"moz_historyvisits"}}),
          Delete("moz_inputhistory"), Delete("moz_places_metadata_search_queries"), Delete("moz_places_metadata"),
          kOrphanPlaces, kUnvisitedPlaces, kOrphanOrigins}},
        // The pages an icon was shown for; a bookmarked page keeps its icon.
        {History, {L"favicons.sqlite"}, {}, "",
         {{std::string("DELETE FROM moz_icons_to_pages WHERE page_id IN (SELECT id FROM moz_pages_w_icons WHERE NOT ") +
               kBookmarkedFunction + "(page_url))", {"moz_icons_to_pages", "moz_pages_w_icons"}},
          {std::string("DELETE FROM moz_pages_w_icons WHERE NOT ") + kBookmarkedFunction + "(page_url)",
           {"moz_pages_w_icons"}},
          {"DELETE FROM moz_icons WHERE NOT EXISTS (SELECT 1 FROM moz_icons_to_pages m WHERE m.icon_id = moz_icons.id)",
           {"moz_icons", "moz_icons_to_pages"}}}},
        {Downloads, {L"places.sqlite"},
         {{"SELECT COUNT(*) FROM moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes"
           " WHERE name = 'downloads/destinationFileURI')", {"moz_annos", "moz_anno_attributes"}}},
         "",
         {{"DELETE FROM moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes"
           " WHERE name = 'downloads/destinationFileURI')", {"moz_annos", "moz_anno_attributes"}, true},
          {std::string("DELETE FROM ") + kDownloadAnnos, {"moz_annos", "moz_anno_attributes"}},
          {"DELETE FROM moz_historyvisits WHERE visit_type = 7", {"moz_historyvisits"}},
          kOrphanPlaces, kUnvisitedPlaces, kOrphanOrigins}},
        {Cookies, {L"cookies.sqlite"},
         {{"SELECT COUNT(*) FROM moz_cookies WHERE NOT brisko_kept_host(host)", {"moz_cookies"}}},
         "SELECT COUNT(*) FROM moz_cookies WHERE brisko_kept_host(host)",
         {Counted({"DELETE FROM moz_cookies WHERE NOT brisko_kept_host(host)", {"moz_cookies"}})}},
        {Forms, {L"formhistory.sqlite"}, {Count("moz_formhistory")}, "",
         {Delete("moz_history_to_sources"), Delete("moz_sources"), Counted(Delete("moz_formhistory"))}},
    };
    layout.bookmarkedPages = {L"places.sqlite",
                              "SELECT url FROM moz_places p WHERE EXISTS (SELECT 1 FROM moz_bookmarks b WHERE b.fk = p.id)",
                              {"moz_places", "moz_bookmarks"}};
    layout.files = {
        {Sessions, Base::Profile, L"sessionstore.jsonlz4"}, {Sessions, Base::Profile, L"sessionstore-backups"},
        {Sessions, Base::Profile, L"sessionstore.js"},      {Cache, Base::Cache, L"cache2"},
        {Cache, Base::Cache, L"startupCache"},              {Cache, Base::Cache, L"jumpListCache"},
    };
    return layout;
}

}  // namespace

const BrowserLayout& LayoutOf(BrowserFamily family) {
    static const BrowserLayout chromium = ChromiumLayout();
    static const BrowserLayout firefox = FirefoxLayout();
    return family == BrowserFamily::Firefox ? firefox : chromium;
}

}  // namespace browsers
