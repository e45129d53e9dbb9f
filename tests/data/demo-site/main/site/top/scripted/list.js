// Builds the article list from the JSON file, as many sites do today.
document.addEventListener('DOMContentLoaded', function () {
  fetch('articles' + '.json')
    .then(function (answer) { return answer.json(); })
    .then(function (data) {
      var list = document.getElementById('articles');
      data.articles.forEach(function (article) {
        var item = document.createElement('li');
        var link = document.createElement('a');
        link.setAttribute('href', article.page);
        link.textContent = article.title;
        var picture = document.createElement('img');
        picture.setAttribute('src', article.picture);
        picture.alt = article.title;
        item.appendChild(link);
        item.appendChild(document.createElement('br'));
        item.appendChild(picture);
        list.appendChild(item);
      });
      list.setAttribute('data-built', String(data.articles.length));
    });
});
