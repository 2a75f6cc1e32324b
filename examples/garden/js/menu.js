// The garden book's menu: a "Chapters" bar at the top of every page that
// opens and closes a list of the book's pages. Written for old document
// modes too: pages without a DOCTYPE are shown in quirks mode.
(function () {
  var pages = [
    ["index.htm", "Start"],
    ["Chapter 1.html", "Soil"],
    ["seeds.htm", "Seeds"],
    ["harvest.htm", "Harvest"],
    ["notes.txt", "Planting notes"]
  ];
  var bar = document.createElement("div");
  bar.className = "menu";
  var button = document.createElement("a");
  button.href = "#";
  button.appendChild(document.createTextNode("Chapters"));
  var list = document.createElement("ul");
  list.style.display = "none";
  for (var i = 0; i < pages.length; i++) {
    var link = document.createElement("a");
    link.href = pages[i][0];
    link.appendChild(document.createTextNode(pages[i][1]));
    var item = document.createElement("li");
    item.appendChild(link);
    list.appendChild(item);
  }
  button.onclick = function () {
    list.style.display = list.style.display === "none" ? "block" : "none";
    return false;
  };
  bar.appendChild(button);
  bar.appendChild(list);
  document.body.insertBefore(bar, document.body.firstChild);
})();
