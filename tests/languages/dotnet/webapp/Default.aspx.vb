Imports Billing.Core

Partial Class _Default
    Inherits System.Web.UI.Page

    Protected Sub btnSave_Click(ByVal sender As Object, ByVal e As EventArgs) Handles btnSave.Click
        Dim customer As Customer = New Customer(2, txtName.Text)
        customer.Save()
    End Sub

    Protected Sub lstCustomers_Changed(ByVal sender As Object, ByVal e As EventArgs)
        ShowSelection()
    End Sub

    Private Sub ShowSelection()
        txtName.Text = lstCustomers.SelectedValue
    End Sub

End Class
